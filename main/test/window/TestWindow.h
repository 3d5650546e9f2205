#pragma once

#include "data/AnswerLog.h"
#include "test/content/ContentInUse.h"
#include "test/content/TestContent.h"
#include "test/content/TestItem.h"
#include "test/scoring/ClickGuard.h"
#include "test/scoring/ItemCounter.h"
#include "test/scoring/ScoreChain.h"
#include "ui/ClinicValues.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>

class ChildLock;
class HotSpot;
class NormalCurveView;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordSource;

/// The test window Frm1: one examinee's 36 items, the answer grid and the
/// result panel. The opener loads it, filters Adodc2 on the code, puts the
/// code into Lblkey and shows it; closing it shows the main window again.
class TestWindow : public QWidget
{
    Q_OBJECT

public:
    /// \a mainWindow is shown again when this window closes; \a clinic holds
    /// the main window's values for the scoring sheet.
    TestWindow(QWidget *mainWindow, ClinicValues *clinic);
    ~TestWindow() override;

    /// The load steps for the examinee \a code: record sources (the IDE and
    /// Answer ones read only that examinee's rows), content, counter "0",
    /// placements.
    bool load(const QString &code, QString *error);
    /// As above for the code already in Lblkey.
    bool load(QString *error);
    /// The examinee the window tests: the slots' filter and Lblkey.
    void setExamineeCode(const QString &code);
    /// Activation: start and result buttons shown, the three filters set.
    void activate();

    void RecordAnswer(int item, int option);
    void ShowItem();
    void NextItem();
    void PreviousItem();
    void StartTest();
    void FillEmptyAnswers();
    void ScoreTest();
    void closeResultPanel();
    void PrintScoringSheet();
    /// Command6: closes the window, in child mode as well.
    void exitWindow();

    /// Whether the clinic profile has child mode on (read at each start).
    bool childModeSet() const;
    /// The child mode lock, active from the start of a test to its result or exit.
    ChildLock *childLock() const { return m_childLock; }

    /// Item whose picture is visible, 0 when none.
    int visibleItem() const { return m_visibleItem; }
    /// Texts of answer slots 1..36.
    QStringList slotTexts() const;

private:
    // The controls keep their form names; tests reach them by objectName.
    RecordSource *Adodc1 = nullptr; ///< IDE
    RecordSource *Adodc2 = nullptr; ///< Answer, the slots
    RecordSource *Adodc3 = nullptr; ///< PPP
    RecordSource *Adodc4 = nullptr; ///< Theme
    RecordSource *Adodc5 = nullptr; ///< Answer, the scoring sheet

    QLabel *Lblkey = nullptr;
    QLineEdit *Txt1 = nullptr; ///< item counter
    QLineEdit *Text1 = nullptr; ///< correct-answer counter (hidden)
    std::array<QLabel *, 37> Pic1 {};
    /// Lbl[k - 1][i] is element i of the hot-spot set Lbl<k> (option k).
    std::array<std::array<HotSpot *, 37>, 6> Lbl {};
    /// Elements 0..36 and 39 (the name display); 37 and 38 do not exist.
    std::array<QLabel *, 40> Lblscore {};
    std::array<QLabel *, 37> LblNscore {};
    QFrame *Frame1 = nullptr; ///< answer grid
    QFrame *Frame2 = nullptr; ///< result panel
    QLabel *LblN2 = nullptr;
    QLabel *Lblkham = nullptr;
    NormalCurveView *ChartIq = nullptr; ///< the result on the normal curve
    QLabel *lbldarsad = nullptr;
    QLabel *Lblhoosh = nullptr;
    QLabel *Lblkham2 = nullptr;
    QLabel *Text2 = nullptr; ///< Sen
    QLabel *Lblfn = nullptr;
    QLabel *Lbln = nullptr;
    QLabel *Label7 = nullptr;
    /// The scoring sheet's examinee fields: FName, LName, Sen, DateTavalod,
    /// Azmayande, DateEjra, Tahsil; and the clinic's Name and Adress.
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Text4 = nullptr;
    QLabel *Text6 = nullptr;
    QPushButton *Command7 = nullptr; ///< start
    QPushButton *Command2 = nullptr; ///< previous
    QPushButton *Command1 = nullptr; ///< next
    QPushButton *Command4 = nullptr; ///< result
    QPushButton *Command6 = nullptr; ///< exit
    QPushButton *Command5 = nullptr; ///< close the result panel
    QPushButton *Command8 = nullptr; ///< print

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void nextClicked();
    void previousClicked();
    void buildItems();
    void buildGrid();
    void buildResultPanel();
    void buildButtons();
    void bindHidden();
    QLabel *hiddenLabel(const QString &name, RecordSource *source, const QString &field);
    void setSlot(int item, const QString &text);
    /// Writes the answer row and, for a click, its log row in one transaction.
    bool storeAnswers(const std::optional<AnswerLog::Click> &click = std::nullopt);
    void examineeChanged();
    /// Counts the slots and looks the result up, without storing it.
    ScoreChain computeResult();
    /// Puts NKham, Hooshbahr and RDarsadi into the pending IDE row.
    void setResultFields(const ScoreChain &chain);
    void showResult(const ScoreChain &chain);
    void applyStep(const ItemCounter::Step &step, const std::optional<AnswerLog::Click> &click = std::nullopt);
    void ensurePicture(int item);
    void readNextPicture();
    void setChildMode(bool on);

    QPointer<QWidget> m_mainWindow;
    ClinicValues *m_clinic;
    AnswerKey m_key {};
    TestContent m_content;
    ContentInUse m_contentInUse;
    /// Draws the panel's IQ on the curve, with the interval at the child's age.
    void showCurve();
    ClickGuard m_guard;
    int m_visibleItem = 0;
    std::optional<QString> m_classifiedIq; ///< the IQ text LblN2 was last worked out for
    bool m_loaded = false;
    bool m_scored = false; ///< a result was computed in this window
    QVector<TestItem> m_items;
    int m_nextPicture = 1;
    bool m_picturesStarted = false;
    ChildLock *m_childLock = nullptr;
    /// Set while a hot-spot reports its click: in child mode nothing else answers.
    bool m_pointerClick = false;
};
