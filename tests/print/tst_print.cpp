#include "checks/Files.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "documentcommands/DocumentCommands.h"
#include "doubles/TestServices.h"
#include "platform/TextWrap.h"
#include "print/PrintCommand.h"
#include "print/Printout.h"

#include <QtTest>

// How a saved data file is laid out on the page, and File > Print: the document is saved, its
// file printed, and the user told how it went.
class PrintCommandTest : public QObject
{
    Q_OBJECT

    QString pathOf(const QString& name) const { return m_folder->filePath(name); }
    // File > Print, or another of the command's items, printing with `printers`.
    void print(Printers& printers, void (PrintCommand::*item)() = &PrintCommand::FilePrint)
    {
        const Services s = m_doubles->services();
        DocumentCommands documentCommands(*m_document, s);
        (PrintCommand(*m_document, documentCommands,
                      {s.questions, s.fileDialogs, s.settings, s.clipboard, printers, s.folders,
                       s.serialLines}).*
         item)();
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<Document> m_document;

private Q_SLOTS:
    // Each record prints its header, its text lines a tab further in, then two empty lines.
    void layout_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("printed");

        const QByteArray list = "{\r\n\"Shopping\r\nmilk\r\neggs\"\r\n\"Notes\"\r\n}\r\n";
        // The same records with a one-line preamble are laid out in printsTheExample.
        const QString example = "Shopping|\tmilk|\teggs|||Notes||";
        QTest::newRow("transfer header of two lines") << "%%HP\r\nT(3)\r\n" + list << example;
        QTest::newRow("no list around the records") << list.mid(3, list.size() - 6) << example;
        QTest::newRow("} and empty lines inside a text")
            << QByteArray("{\r\n\"H\r\n}\r\n\r\nlast\r\n\"\r\n}\r\n") << "H|\t}|\t|\tlast|\t||";
        QTest::newRow("double quote inside a text line")
            << QByteArray("{\r\n\"H\r\nsay \"hi\" now\r\nrest\"\r\n}\r\n")
            << "H|\tsay \"hi\" no|||est||";
        QTest::newRow("headers untrimmed, nothing after }")
            << QByteArray("{\r\n\"  Spaced  \r\ntext\"\r\n}\r\n\"B\"\r\n") << "  Spaced  |\ttext||";
        // The file is read in blocks of 64 KiB; here a CR LF spans two of them.
        const QByteArray header(64 * 1024 - 5, 'a');
        QTest::newRow("CR LF across blocks") << "{\r\n\"" + header + "\r\nc\"\r\n}\r\n"
                                             << QString(header) + "|\tc||";
        QTest::newRow("CR alone ends a line, LF alone is text")
            << QByteArray("{\r\"H\rone\ntwo\"\r}\r") << "H|\tone\ntwo||";
        QTest::newRow("Latin-1") << QByteArray("{\r\n\"Caf\xe9\"\r\n}\r\n") << "Caf\u00e9||";
        QTest::newRow("file ends inside a text") << QByteArray("{\r\n\"H\r\nend") << "H|\tend";
        QTest::newRow("calculator's characters")
            << QByteArray("{\r\n\"A\x8d\r\nx\x8dy\\->\"\r\n}\r\n") << "A\u2192|\tx\u2192y\\->||";
        QTest::newRow("view on in T(3)")
            << QByteArray("{\r\n\"A \\->\r\n\\<<x\x8d\"\r\n}\r\n") << "A \u2192|\t\u00abx\u2192||";
    }

    void layout()
    {
        QFETCH(QByteArray, file);
        QBuffer buffer(&file);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        PrintJobRecord job;
        RecordingPrinter printer(job, 0);
        const int shownMode = QByteArray(QTest::currentDataTag()).startsWith("view on") ? 3 : -1;
        QCOMPARE(printRecords(buffer, &printer, shownMode), PrintoutResult::Complete);
        QStringList texts;
        for (const PrintJobRecord::Line& line : job.lines) {
            QCOMPARE(line.x, line.text.isEmpty() ? 0 : 1440); // one inch in, but for the gaps
            texts << line.text;
        }
        QTEST(texts.join(u'|'), "printed");
    }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_doubles = std::make_unique<TestServices>();
        m_document = std::make_unique<Document>();
        // After a one-line preamble the first record is printed all the same.
        m_doubles->settings.write(PreferenceKey::AsciiHeader, QStringLiteral("1"));
        m_doubles->settings.write(PreferenceKey::AsciiText, QStringLiteral("%%HP: T(3)A(D)F(.);"));
        m_document->records().setRecordText(*m_document->records().addRecord("Shopping"),
                                            "milk\r\neggs");
        m_document->records().addRecord("Notes");
    }

    // Saved through Save As, in the preferred font; the file line names the file last opened.
    void printsTheExample()
    {
        m_document->dlgFileOpen = {pathOf("SHOP.DF"), "SHOP.DF"};
        m_doubles->fileDialogs.chooseFile(pathOf("NEW.DF"));
        m_doubles->settings.write(PreferenceKey::DefaultFont, QStringLiteral("Courier New"));
        m_doubles->settings.write(PreferenceKey::DefaultFontSize, QStringLiteral("10.5"));
        m_doubles->questions.answerMessage(QMessageBox::Ok);

        print(m_doubles->printers);

        // One answer is scripted: a further question finds none and fails the test.
        const auto said = m_doubles->questions.asked.value(0);
        QCOMPARE(said.title + '|' + said.text, "Tabulet|Printing complete.");
        const PrintJobRecord& job = *m_doubles->printers.jobs.last();
        QCOMPARE(job.fontName + ' ' + QString::number(job.fontSize), "Courier New 10.5");
        QVERIFY(job.ended && !job.discarded);
        const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
        QStringList printed;
        for (const PrintJobRecord::Line& line : job.lines)
            printed << QString::number(line.x) + u' ' + line.text;
        QCOMPARE(job.lines[0].y, PrintoutTopMargin); // each further line follows the one before
        QCOMPARE(printed.join(u'|'), "1440 File name: SHOP.DF|1440 Date: " + date +
                                         "|0 |0 |1440 Shopping|1440 \tmilk|1440 \teggs|0 |0 "
                                         "|1440 Notes|0 |0 ");
    }

    // Each failure ends in a "Printer Error" (after the save's own message when the save failed),
    // never in "Printing complete.", and loses nothing; a cancelled Save As ends in silence.
    void failure_data()
    {
        QTest::addColumn<QString>("fontSize");
        QTest::addColumn<QString>("fileName"); // null: unnamed, Save As cancelled
        // -1: none; -2: the real printer service where no print server answers; else the print()
        // call that fails, 0 for none
        QTest::addColumn<int>("printer");
        QTest::addColumn<QString>("message");

        const auto row = [](const char* t, const auto&... v) { (QTest::newRow(t) << ... << v); };
        for (const QString size : {"", "eleven", "11pt", "0", "-8", "nan", "inf"})
            row(("font size " + size.toUtf8()).constData(), size, "F.DF", 0,
                "The print font size \"" + size +
                    "\" in the preferences is not a number of points. Nothing was printed.");
        for (int printer : {-1, -2})
            row(printer == -1 ? "no printer" : "no print server", "11", "F.DF", printer,
                "There is no default printer. Nothing was printed.");
        row("save failed", "11", "-/F", 0,
            "The document could not be saved, so it was not printed.");
        row("printer failed", "11", "F.DF", 4,
            "The recording printer failed as told. The document was not printed.");
        row("Save As cancelled", "11", QString(), 0, QString());
    }

    void failure()
    {
        QFETCH(QString, fontSize);
        QFETCH(QString, fileName);
        QFETCH(int, printer);
        QFETCH(QString, message);
        m_doubles->fileDialogs.cancelFile(); // shown only when the document has no name
        if (!fileName.isNull())
            m_document->setFile({pathOf(fileName), fileName});
        m_doubles->settings.write(PreferenceKey::DefaultFontSize, fontSize);
        m_doubles->printers.hasDefaultPrinter = printer >= 0;
        m_doubles->printers.failAtPrint = printer;
        m_doubles->questions.answerMessage(QMessageBox::Ok); // the save's own failure comes first
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        // A socket nobody listens on: this process sees no print server, whatever the machine has.
        qputenv("CUPS_SERVER", QFile::encodeName(pathOf("no-cups.sock")));
        QtPrinters printers;

        print(printer == -2 ? static_cast<Printers&>(printers) : m_doubles->printers);

        const auto& asked = m_doubles->questions.asked;
        QCOMPARE(asked.isEmpty() ? QString()
                                 : asked.constLast().title + '|' + asked.constLast().text,
                 message.isNull() ? message : "Printer Error|" + message);
        for (const auto& job : m_doubles->printers.jobs)
            QVERIFY(job->discarded == job->opened && !job->ended);
        QCOMPARE(QFile::exists(m_document->currentFileName()), printer > 0);
        QCOMPARE(m_document->records().recordText(0), "milk\r\neggs");
    }

    // Export as PDF writes the printout of the document as it stands, saving nothing; a PDF that
    // cannot be written is reported and leaves nothing behind, nor harms a file that was there.
    void exportPdf_data()
    {
        QTest::addColumn<QString>("target"); // empty: the dialog is cancelled
        QTest::addColumn<QString>("fontSize");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* t, const auto&... v) { (QTest::newRow(t) << ... << v); };
        row("written", "OUT.pdf", "11", QString());
        row("cancelled", QString(), "11", QString());
        row("folder is a file", "OLD.pdf/OUT.pdf", "11", "could not be written");
        row("bad font size", "OUT.pdf", "big", "not a number of points");
    }

    void exportPdf()
    {
        QFETCH(QString, target);
        QFETCH(QString, fontSize);
        QFETCH(QString, message);
        QVERIFY(writeFile(pathOf("OLD.pdf"), "old"));
        m_document->dlgFileOpen = {pathOf("SHOP.DF"), "SHOP.DF"};
        m_doubles->settings.write(PreferenceKey::DefaultFontSize, fontSize);
        m_doubles->fileDialogs.chooseFile(target.isEmpty() ? QString() : pathOf(target));
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        print(m_doubles->printers, &PrintCommand::exportPdf);

        const auto& asked = m_doubles->questions.asked; // one answer is scripted
        QVERIFY2(message.isNull() ? asked.isEmpty() : asked.value(0).text.contains(message),
                 qPrintable(asked.value(0).text));
        QVERIFY(m_document->currentFileName().isEmpty() && !QFile::exists(pathOf("SHOP.DF")));
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files).join(u' '),
                 message.isNull() && !target.isEmpty() && fontSize == u"11" ? "OLD.pdf OUT.pdf"
                                                                            : "OLD.pdf");
        // What OUT.pdf says is read back by tests/e2e/e2e_desktop.sh.
        QCOMPARE(contentsOf(pathOf("OLD.pdf")), "old");
    }

    // A printout line wider than the page goes on over the next rows and keeps every character.
    void wrappedRows_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("room"); // in characters: each is one unit wide here
        QTest::addColumn<QString>("rows");
        QTest::newRow("fits") << "abc" << 3 << "abc";
        QTest::newRow("after the last space") << "aaaa bbbb cc" << 6 << "aaaa |bbbb |cc";
        QTest::newRow("no space: anywhere") << "aaaaaaaaaa" << 4 << "aaaa|aaaa|aa";
        QTest::newRow("a leading space is no break") << " aaaaa" << 4 << " aaa|aa";
        QTest::newRow("one character at least") << "abc" << 0 << "a|b|c";
        QTest::newRow("a pair of halves stays") << "a\U0001F600b" << 2 << "a\U0001F600|b";
    }

    void wrappedRows()
    {
        QFETCH(QString, line);
        QFETCH(int, room);
        QStringList rows;
        qsizetype at = 0;
        for (const qsizetype row :
             ::wrappedRows(line, room, [](QStringView text) { return qreal(text.size()); }))
            rows << line.mid(std::exchange(at, at + row), row);
        QTEST(rows.join(u'|'), "rows");
    }
};

QTEST_MAIN(PrintCommandTest)
#include "tst_print.moc"
