#include "dialogs/PreferenceCommands.h"
#include "doubles/TestServices.h"

#include <QApplication>
#include <QDir>
#include <QTest>

// Help > Tabulet Help: the guide where it is installed, else beside the build folder, opened in
// the browser; where none can open it, the user is told where it is.
class UserGuideTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opened_data()
    {
        QTest::addColumn<QString>("guide"); // where it is from the program's folder's parent
        QTest::addColumn<bool>("browser");
        QTest::addColumn<QString>("said"); // the start of the message, if any
        const QString installed("share/doc/tabulet/help.html");
        QTest::newRow("installed") << installed << true << "";
        QTest::newRow("beside the build") << "docs/help.html" << true << "";
        QTest::newRow("no browser")
            << installed << false << "No web browser could open the user's guide.";
        QTest::newRow("not installed") << "" << true << "The user's guide is not installed.";
    }
    void opened()
    {
        QFETCH(QString, guide);
        QFETCH(bool, browser);
        QFETCH(QString, said);
        // The test program stands where the program would: the guide goes where it is sought,
        // and only what the test made goes again.
        const QDir above(QCoreApplication::applicationDirPath() + "/..");
        QFile file(above.filePath(guide));
        QVERIFY(guide.isEmpty() || (above.mkpath(QFileInfo(guide).path()) &&
                                    file.open(QIODevice::WriteOnly) && file.write("<html/>") > 0));
        const QString where = QFileInfo(file).canonicalFilePath();
        TestServices doubles;
        QList<QUrl> urls;
        PreferenceCommands commands(doubles.services(), [&](const QUrl& url) {
            urls << url;
            return browser;
        });
        if (!said.isEmpty())
            doubles.questions.answerMessage(QMessageBox::Ok);
        commands.showHelp(nullptr);
        if (!guide.isEmpty() && file.remove())
            above.rmpath(QFileInfo(guide).path());
        QCOMPARE(urls, guide.isEmpty() ? QList<QUrl>{} : QList<QUrl>{QUrl::fromLocalFile(where)});
        const QString text = doubles.questions.asked.value(0).text;
        QVERIFY2(said.isEmpty() ? text.isEmpty() : text.startsWith(said), qPrintable(text));
        QCOMPARE(!guide.isEmpty() && text.contains(QDir::toNativeSeparators(where)), !browser);
    }
};

QTEST_MAIN(UserGuideTest)
#include "tst_userguide.moc"
