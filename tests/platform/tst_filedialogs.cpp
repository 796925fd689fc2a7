#include "platform/FileDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

const QString Filter =
    QStringLiteral("Ledra Datafiles (*.DF)|*.DF|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
const QStringList Files{"README", "SHOUT.TXT", "UPPER.DF", "UPPER.DF.bak", "lower.df", "notes.txt"};

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
    for (int row = 0; view && row < view->model()->rowCount(view->rootIndex()); ++row)
        names << view->model()->index(row, 0, view->rootIndex()).data().toString();
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

} // namespace

// The open and save-as dialogs as the user meets them.
class FileDialogsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        for (const QString& name : Files)
            QVERIFY(QFile(m_dir->filePath(name)).open(QIODevice::WriteOnly));
    }
    void filtersShowTheFilesAUserExpects_data();
    void filtersShowTheFilesAUserExpects();
    void saveAsAsksBeforeReplacing_data();
    void saveAsAsksBeforeReplacing();
};

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
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        const QComboBox* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; combo && i < combo->count(); ++i)
            descriptions << combo->itemText(i);
        folder = dialog->directory().absolutePath();
        dialog->selectNameFilter(qtNameFilters(Filter).value(filterIndex));
        (void)QTest::qWaitFor([&] { return (seen = filesListed(dialog)) == listed; }, 5000);
        typeFileName(dialog, listed.last());
    });
    const std::optional<FileChoice> choice =
        QtFileDialogs().openFile(nullptr, Filter, m_dir->path());

    QCOMPARE(descriptions,
             (QStringList{"Ledra Datafiles (*.DF)", "Text Files (*.txt)", "All Files (*.*)"}));
    QCOMPARE(folder, QDir(m_dir->path()).absolutePath());
    QCOMPARE(seen, listed);
    QVERIFY(choice);
    QCOMPARE(choice->fileName, m_dir->filePath(listed.last()));
    QCOMPARE(choice->fileTitle, listed.last());
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
    const std::optional<FileChoice> choice =
        QtFileDialogs().saveFileAs(nullptr, Filter, m_dir->path());

    QVERIFY2(question.contains(QStringLiteral("UPPER.DF")), qPrintable(question));
    QCOMPARE(choice.has_value(), answer == QMessageBox::Yes);
    if (choice)
        QCOMPARE(choice->fileName, m_dir->filePath(QStringLiteral("UPPER.DF")));
}

QTEST_MAIN(FileDialogsTest)
#include "tst_filedialogs.moc"
