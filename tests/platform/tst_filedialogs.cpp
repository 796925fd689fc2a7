#include "platform/FileDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

const QString Filter =
    QStringLiteral("Ledra Datafiles (*.DF)|*.DF|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
const QStringList Descriptions{QStringLiteral("Ledra Datafiles (*.DF)"),
                               QStringLiteral("Text Files (*.txt)"),
                               QStringLiteral("All Files (*.*)")};
const QStringList Files{QStringLiteral("README"), QStringLiteral("SHOUT.TXT"),
                        QStringLiteral("UPPER.DF"), QStringLiteral("lower.df"),
                        QStringLiteral("notes.txt")};

// Runs `act` on the modal window of type W as soon as it is up; gives up after five seconds.
template <typename W> void whenShown(std::function<void(W*)> act)
{
    auto* timer = new QTimer(qApp);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, ticks, act] {
        W* window = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!window && ++*ticks < 500)
            return;
        timer->deleteLater();
        timer->stop();
        if (window)
            act(window);
    });
    timer->start(10);
}

QStringList filesListed(QFileDialog* dialog)
{
    const QListView* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    if (!view)
        return names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names << view->model()->index(row, 0, root).data().toString();
    names.sort();
    return names;
}

// Types a name into the dialog's file name field and presses Return, as a user does.
void typeFileName(QFileDialog* dialog, const QString& name)
{
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(field);
    field->setText(name);
    QTest::keyClick(field, Qt::Key_Return);
}

QStringList comboTexts(QFileDialog* dialog)
{
    const QComboBox* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QStringList texts;
    for (int i = 0; combo && i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

} // namespace

// The open and save-as dialogs as the user meets them: the filter's descriptions exactly as
// the program writes them, patterns that find data files whatever the case of their
// extension and files without one, and a question before a file is replaced.
class FileDialogsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void filtersShowTheFilesAUserExpects_data();
    void filtersShowTheFilesAUserExpects();
    void patternsHoldWhereDialogsMatchCase_data();
    void patternsHoldWhereDialogsMatchCase();
    void openReportsPathAndTitle();
    void saveAsAsksBeforeReplacing_data();
    void saveAsAsksBeforeReplacing();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void FileDialogsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const QString& name : Files) {
        QFile file(m_dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\r\n\r\n}\r\n");
    }
}

void FileDialogsTest::filtersShowTheFilesAUserExpects_data()
{
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("Ledra Datafiles") << 0 << QStringList{"UPPER.DF", "lower.df"};
    QTest::newRow("Text Files") << 1 << QStringList{"SHOUT.TXT", "notes.txt"};
    QTest::newRow("All Files") << 2 << Files;
}

void FileDialogsTest::filtersShowTheFilesAUserExpects()
{
    QFETCH(int, filterIndex);
    QFETCH(QStringList, listed);

    QStringList descriptions;
    QString folder;
    QStringList seen;
    bool listedInTime = false;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        descriptions = comboTexts(dialog);
        folder = dialog->directory().absolutePath();
        dialog->selectNameFilter(qtNameFilters(Filter).value(filterIndex));
        listedInTime = QTest::qWaitFor(
            [&] {
                seen = filesListed(dialog);
                return seen == listed;
            },
            5000);
        dialog->reject();
    });
    QtFileDialogs dialogs;
    QVERIFY(!dialogs.openFile(nullptr, Filter, m_dir->path()));

    QCOMPARE(descriptions, Descriptions);
    QCOMPARE(folder, QDir(m_dir->path()).absolutePath());
    QCOMPARE(seen, listed);
    QVERIFY(listedInTime);
}

void FileDialogsTest::patternsHoldWhereDialogsMatchCase_data()
{
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("matches");

    QTest::newRow("DF upper") << 0 << QStringLiteral("a.DF") << true;
    QTest::newRow("DF lower") << 0 << QStringLiteral("a.df") << true;
    QTest::newRow("DF, not a backup") << 0 << QStringLiteral("a.DF.bak") << false;
    QTest::newRow("DF, not text") << 0 << QStringLiteral("a.txt") << false;
    QTest::newRow("txt lower") << 1 << QStringLiteral("a.txt") << true;
    QTest::newRow("txt upper") << 1 << QStringLiteral("A.TXT") << true;
    QTest::newRow("txt, not a data file") << 1 << QStringLiteral("a.DF") << false;
    QTest::newRow("all, no extension") << 2 << QStringLiteral("README") << true;
    QTest::newRow("all, with extension") << 2 << QStringLiteral("a.b") << true;
}

void FileDialogsTest::patternsHoldWhereDialogsMatchCase()
{
    QFETCH(int, filterIndex);
    QFETCH(QString, fileName);
    QFETCH(bool, matches);

    // Platform dialogs take the patterns from the last parentheses and, on Linux, match them
    // with case.
    const QString nameFilter = qtNameFilters(Filter).value(filterIndex);
    const qsizetype open = nameFilter.lastIndexOf(QLatin1Char('('));
    QVERIFY(open > 0 && nameFilter.endsWith(QLatin1Char(')')));
    const QStringList patterns =
        nameFilter.mid(open + 1, nameFilter.size() - open - 2).split(QLatin1Char(' '));
    bool matched = false;
    for (const QString& pattern : patterns)
        matched =
            matched || QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                           .match(fileName)
                           .hasMatch();
    QCOMPARE(matched, matches);
}

void FileDialogsTest::openReportsPathAndTitle()
{
    whenShown<QFileDialog>(
        [](QFileDialog* dialog) { typeFileName(dialog, QStringLiteral("lower.df")); });
    QtFileDialogs dialogs;
    const std::optional<FileChoice> choice = dialogs.openFile(nullptr, Filter, m_dir->path());
    QVERIFY(choice);
    QCOMPARE(choice->fileName, m_dir->filePath(QStringLiteral("lower.df")));
    QCOMPARE(choice->fileTitle, QStringLiteral("lower.df"));
}

void FileDialogsTest::saveAsAsksBeforeReplacing_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("replace") << QMessageBox::Yes;
    QTest::newRow("keep") << QMessageBox::No;
}

void FileDialogsTest::saveAsAsksBeforeReplacing()
{
    QFETCH(QMessageBox::StandardButton, answer);

    QString question;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        whenShown<QMessageBox>([&](QMessageBox* box) {
            question = box->text();
            box->button(answer)->click();
        });
        typeFileName(dialog, QStringLiteral("UPPER.DF"));
        // Kept: the dialog is still open for another name.
        if (dialog->isVisible())
            dialog->reject();
    });
    QtFileDialogs dialogs;
    const std::optional<FileChoice> choice = dialogs.saveFileAs(nullptr, Filter, m_dir->path());

    QVERIFY2(question.contains(QStringLiteral("UPPER.DF")), qPrintable(question));
    QCOMPARE(choice.has_value(), answer == QMessageBox::Yes);
    if (choice)
        QCOMPARE(choice->fileName, m_dir->filePath(QStringLiteral("UPPER.DF")));
}

QTEST_MAIN(FileDialogsTest)
#include "tst_filedialogs.moc"
