#include "dialogs/PreferenceCommands.h"
#include "dialogs/UserGuide.h"
#include "doubles/TestServices.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// Help > Tabulet Help: the guide found where it is installed, or beside the build, and opened
// in the browser; where none can open it, the user is told where it is.
class UserGuideTest : public QObject
{
    Q_OBJECT

    static void putGuide(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile guide(path);
        QVERIFY(guide.open(QIODevice::WriteOnly) && guide.write("<html/>") > 0);
    }

private Q_SLOTS:
    void found_data()
    {
        QTest::addColumn<QStringList>("guides");
        QTest::addColumn<QString>("found");
        const QString installed("share/doc/tabulet/help.html");
        QTest::newRow("installed") << QStringList{installed} << installed;
        QTest::newRow("beside the build") << QStringList{"docs/help.html"} << "docs/help.html";
        QTest::newRow("installed first") << QStringList{"docs/help.html", installed} << installed;
        QTest::newRow("none") << QStringList{} << "";
    }
    void found()
    {
        QFETCH(QStringList, guides);
        QFETCH(QString, found);
        QTemporaryDir root;
        QDir(root.path()).mkpath("bin");
        for (const QString& guide : guides)
            putGuide(root.filePath(guide));
        const QString expected =
            found.isEmpty() ? QString() : QFileInfo(root.filePath(found)).canonicalFilePath();
        QCOMPARE(userGuidePath(root.filePath("bin")), expected);
    }

    void opened_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("browser");
        QTest::addColumn<QString>("said"); // the start of the message, if any
        QTest::newRow("opened") << true << true << "";
        QTest::newRow("no browser")
            << true << false << "No web browser could open the user's guide. It is the file \"";
        QTest::newRow("not installed") << false << true << "The user's guide is not installed.";
    }
    void opened()
    {
        QFETCH(bool, installed);
        QFETCH(bool, browser);
        QFETCH(QString, said);
        // The test program stands where the program would: the guide goes where it is sought.
        const QString guide =
            QCoreApplication::applicationDirPath() + "/../share/doc/tabulet/help.html";
        if (installed)
            putGuide(guide);
        const QString where = QFileInfo(guide).canonicalFilePath();
        TestServices doubles;
        QList<QUrl> urls;
        PreferenceCommands commands(doubles.services(), [&](const QUrl& url) {
            urls << url;
            return browser;
        });
        if (!said.isEmpty())
            doubles.questions.answerMessage(QMessageBox::Ok);
        commands.showHelp(nullptr);
        QDir(QCoreApplication::applicationDirPath() + "/../share").removeRecursively();
        QCOMPARE(urls, installed ? QList<QUrl>{QUrl::fromLocalFile(where)} : QList<QUrl>{});
        const QString text = doubles.questions.asked.isEmpty()
                                 ? QString()
                                 : doubles.questions.asked.constFirst().text;
        QVERIFY2(said.isEmpty() ? text.isEmpty() : text.startsWith(said), qPrintable(text));
        QCOMPARE(!where.isEmpty() && text.contains(QDir::toNativeSeparators(where)),
                 installed && !browser);
    }
};

QTEST_MAIN(UserGuideTest)
#include "tst_userguide.moc"
