#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>

class DistinctValuesModel;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RecordSource;
class RecordSourceModel;
struct ClinicValues;

/// The records window FrmCode: the list of examinees with their results,
/// search by last name, first name or group, edit, delete and print.
class RecordsWindow : public QWidget
{
    Q_OBJECT

public:
    /// \a mainWindow is shown again however this window closes; \a clinic
    /// holds the main window's values for the printout.
    RecordsWindow(QWidget *mainWindow, const ClinicValues *clinic);

    /// Opens Adodc1..Adodc4; false and \a error on a database fault.
    bool load(QString *error);
    /// The examinee list is read once the window has first been painted, so
    /// a large table does not hold back the window; true once it is read.
    bool isListRead() const { return !m_listPending; }

    void showEditPanel(); ///< Command9
    void review(); ///< Command5
    void print(); ///< Command3
    void exportList(); ///< CommandExport: the shown list to a file
    void chart(); ///< CommandChart: the shown rows' IQs as a chart
    void showDeletePanel(); ///< Command1
    /// Command7; true once the edit is stored (or there was none).
    bool saveEdit();
    void cancelEdit(); ///< Command8
    void deleteExaminee(); ///< Command2, Enter in Text3

private:
    // The controls keep their form names; tests reach them by objectName.
    RecordSource *Adodc1 = nullptr; // Theme
    RecordSource *Adodc2 = nullptr; // IDE: the list
    RecordSource *Adodc3 = nullptr; // IDE
    RecordSource *Adodc4 = nullptr; // Answer

    QTableView *DataGrid1 = nullptr;
    QComboBox *DataCombo1 = nullptr; // last name
    QComboBox *DataCombo6 = nullptr; // first name
    QComboBox *Combo3 = nullptr; // group
    QGroupBox *Frame2 = nullptr; // edit panel
    QGroupBox *Frame1 = nullptr; // delete panel
    QLineEdit *Text3 = nullptr;
    QComboBox *Combo1 = nullptr; // group choices in the edit panel
    QComboBox *Combo2 = nullptr; // age choices in the edit panel
    QLineEdit *TextFName = nullptr;
    QLineEdit *TextLName = nullptr;
    QLineEdit *TextSen = nullptr;
    QLineEdit *TextGroup = nullptr;
    QLineEdit *TextTahsil = nullptr;
    QLineEdit *TextAzmayande = nullptr;
    QLineEdit *TextTavalod = nullptr; ///< birth date
    QLineEdit *TextEjra = nullptr; ///< test date
    QLabel *LblAge = nullptr; ///< the exact age from the two dates
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *CommandExport = nullptr;
    QPushButton *CommandChart = nullptr;
    QLabel *LabelCount = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void readList();
    void buildSearchRow();
    void buildEditPanel();
    void buildDeletePanel();
    void buildButtons();
    void search(QComboBox *box, const QString &field, const QString &text);
    void rowsChanged();
    void currentChanged();
    void gridRowChosen();
    void datesChanged(bool typed);
    QString shownRowsText() const;
    bool mayLeaveRow();

    QPointer<QWidget> m_mainWindow;
    const ClinicValues *m_clinic;
    RecordSourceModel *m_gridModel = nullptr;
    DistinctValuesModel *m_lastNames = nullptr;
    DistinctValuesModel *m_firstNames = nullptr;
    QComboBox *m_searchingBox = nullptr;
    QHash<QComboBox *, QString> m_searchTexts; ///< each box's text as last searched
    bool m_syncingGrid = false;
    bool m_listPending = false;
};
