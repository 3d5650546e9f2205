#include "ProgramFolder.h"
#include "data/BoundField.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

class TestBoundField : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsCurrentRowAndWritesPending();
};

void TestBoundField::followsCurrentRowAndWritesPending()
{
    ProgramFolder folder;
    QVERIFY(folder.openAll());
    addExaminee(QStringLiteral("1"), QStringLiteral("One"));
    addExaminee(QStringLiteral("2"), QStringLiteral("Two"));
    RecordSource ide;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));

    QLabel label;
    QLineEdit edit;
    QComboBox combo;
    combo.setEditable(true);
    BoundField::bind(&label, &ide, QStringLiteral("Code"));
    BoundField::bind(&edit, &ide, QStringLiteral("LName"));
    BoundField::bind(&combo, &ide, QStringLiteral("lname"));
    QCOMPARE(label.text(), QStringLiteral("1"));
    QCOMPARE(edit.text(), QStringLiteral("One"));

    ide.moveNext();
    QCOMPARE(label.text(), QStringLiteral("2"));
    QCOMPARE(combo.currentText(), QStringLiteral("Two"));

    edit.setText(QStringLiteral("Changed"));
    QCOMPARE(ide.field(QStringLiteral("LName")), QStringLiteral("Changed"));
    QCOMPARE(combo.currentText(), QStringLiteral("Changed"));
    ide.cancelUpdate();
    QCOMPARE(edit.text(), QStringLiteral("Two"));

    RecordSource theme;
    QVERIFY(theme.open(Database::File::Theme, QStringLiteral("Theme")));
    QCheckBox check;
    BoundField::bind(&check, &theme, QStringLiteral("Check1"));
    QVERIFY(!check.isChecked());
    check.setChecked(true);
    QCOMPARE(theme.field(QStringLiteral("Check1")), QStringLiteral("1"));
    QVERIFY(theme.update());

    ide.setFilter(QStringLiteral("Code"), QStringLiteral("none"));
    QCOMPARE(label.text(), QString());
    edit.setText(QStringLiteral("ignored")); // no current row: nothing pending anywhere
    ide.clearFilter();
    QCOMPARE(edit.text(), QStringLiteral("One"));
}

QTEST_MAIN(TestBoundField)
#include "tst_boundfield.moc"
