#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The committed content/ must be exactly what contentgen draws, so a change
// to a drawing cannot ship without its pictures (and the other way round).
class ContentGenTest : public QObject
{
    Q_OBJECT

private slots:
    void committedContentMatchesGenerator()
    {
        QTemporaryDir out;
        QVERIFY(out.isValid());
        QProcess gen;
        gen.start(QStringLiteral(CONTENTGEN_PATH), { out.path() });
        QVERIFY(gen.waitForFinished(120000));
        QVERIFY2(gen.exitCode() == 0, gen.readAllStandardError().constData());

        const QDir committed(QStringLiteral(PELORIN_CONTENT_DIR));
        QStringList generated;
        QDirIterator it(out.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            generated.append(QDir(out.path()).relativeFilePath(it.next()));
        generated.sort();
        QVERIFY(generated.size() > 36 * 2);

        for (const QString &file : generated) {
            QFile a(out.filePath(file));
            QFile b(committed.filePath(file));
            QVERIFY(a.open(QIODevice::ReadOnly));
            QVERIFY2(b.open(QIODevice::ReadOnly), qPrintable(file + " is not committed"));
            QVERIFY2(a.readAll() == b.readAll(),
                qPrintable(file + " differs from the generator's output; run contentgen on content/"));
        }

        // Nothing stale: every committed picture or table comes from the generator.
        QDirIterator shipped(
            committed.path(), { "*.png", "*.json", "*.csv" }, QDir::Files, QDirIterator::Subdirectories);
        while (shipped.hasNext()) {
            const QString file = committed.relativeFilePath(shipped.next());
            QVERIFY2(generated.contains(file), qPrintable(file + " is not produced by contentgen"));
        }
    }

    void refusesMissingOutputArgument()
    {
        QProcess gen;
        gen.start(QStringLiteral(CONTENTGEN_PATH), {});
        QVERIFY(gen.waitForFinished(30000));
        QCOMPARE(gen.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(ContentGenTest)
#include "tst_contentgen.moc"
