#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

// Selecting a header shows its record in the data field; every change of the field is stored
// straight back into the selected record.
class HeaderSelectionTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;

    // Entries "A", "B", "C"... holding the texts given.
    void addEntries(const QStringList& texts)
    {
        for (const QString& text : texts) {
            RecordStore& store = m_window->store();
            store.setRecordText(*store.addRecord(QChar(u'A' + store.count())), text);
        }
    }

    QPoint centreOf(int position) const
    {
        return m_window->lstHeaders->visualRect(m_window->store().index(position)).center();
    }

    void click(int position, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(m_window->lstHeaders->viewport(), button, {}, centreOf(position));
    }

    // As a window system delivers it: a whole click, then the second press as the double click.
    void doubleClickAt(const QPoint& point)
    {
        QWidget* viewport = m_window->lstHeaders->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, point);
    }

    // Each character as a key event's text, so that any character can be typed.
    void type(const QString& text)
    {
        for (const QChar character : text)
            QTest::sendKeyEvent(QTest::Click, m_window->txtDataField, Qt::Key_unknown,
                                QString(character), Qt::NoModifier);
    }

    QStringList records() const
    {
        QStringList result;
        const RecordStore& store = m_window->store();
        for (int position = 0; position < store.count(); ++position)
            result << store.recordText(store.recordIndexAt(position));
        return result;
    }

private Q_SLOTS:
    void init()
    {
        m_window.reset(); // before the services it uses
        m_doubles = std::make_unique<TestServices>();
        m_window = std::make_unique<frmTabulet>(m_doubles->services());
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void typedTextFollowsItsRecordAcrossSelections()
    {
        addEntries({"alpha", "beta", ""});
        QPlainTextEdit* field = m_window->txtDataField;
        click(0);
        QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
        type(QStringLiteral(" \u00e9\u00a0\u00ff"));
        QTest::keyClick(field, Qt::Key_Return);
        type(QStringLiteral("two"));
        // Shift+Enter breaks the line inside the paragraph; it is a line break all the same.
        QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
        const QString typed = QStringLiteral("alpha \u00e9\u00a0\u00ff\r\ntwo\r\n");
        QCOMPARE(records(), (QStringList{typed, "beta", ""}));

        click(1);
        QCOMPARE(field->toPlainText(), QStringLiteral("beta"));
        type(QStringLiteral("!"));
        QTest::keyClick(field, Qt::Key_Delete);
        click(0);
        QCOMPARE(m_window->dataFieldText(), typed);
        click(2);
        QVERIFY(field->document()->isEmpty());
        QCOMPARE(records(), (QStringList{typed, "!eta", ""}));
    }

    // Records as a file may hold them; toPlainText() is what the user sees.
    void recordTextSurvivesSelectingAwayAndBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");

        QTest::newRow("lines") << QStringLiteral("one\r\ntwo\r\n") << "one\ntwo\n";
        QTest::newRow("no-break space") << QStringLiteral("a\u00a0b") << "a b";
        // Merely looking at a record must not turn a lone LF or CR into CR LF.
        QTest::newRow("lone LF and CR") << QStringLiteral("a\nb\rc") << "a\nb\nc";
        QString everyByte;
        for (int byte = 0; byte < 256; ++byte)
            if (byte != '\r' && byte != '\n')
                everyByte += QChar(byte);
        QTest::newRow("every other Latin-1 character")
            << everyByte << QString(everyByte).replace(QChar(0xa0), u' ');
    }

    void recordTextSurvivesSelectingAwayAndBack()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        addEntries({text, "other"});
        click(0);
        QCOMPARE(m_window->txtDataField->toPlainText(), shown);
        click(1);
        click(0);
        QCOMPARE(m_window->txtBuffer, text);
        QCOMPARE(records(), (QStringList{text, "other"}));
    }

    void rightPressOnAnotherEntryThenEditRenamesTheSelectedOne()
    {
        addEntries({"alpha", "beta", "gamma"});
        click(1);
        m_window->txtDataField->setFocus();
        QVERIFY(m_window->mnuEditPaste->isEnabled());
        m_window->mnuHeadersEditHeader->setEnabled(false);

        click(2, Qt::RightButton);
        QVERIFY(m_window->mnuHeaders->isVisible());
        QVERIFY(m_window->mnuHeadersEditHeader->isEnabled());
        QVERIFY(m_window->lstHeaders->hasFocus());
        QVERIFY(!m_window->mnuEditPaste->isEnabled());
        QCOMPARE(m_window->selectedPosition(), 1);
        QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("beta"));

        m_doubles->questions.answerInput(QStringLiteral("Renamed"));
        m_window->mnuHeadersEditHeader->trigger();
        m_window->mnuHeaders->hide();
        QCOMPARE(m_window->store().headerAt(1), QStringLiteral("Renamed"));
        QCOMPARE(m_doubles->questions.asked.constFirst().defaultText, QStringLiteral("B"));
    }

    void doubleClickRenamesOnlyASelectedEntry()
    {
        // On an empty list, then below the entries of a list where nothing is selected.
        doubleClickAt(QPoint(5, 5));
        addEntries({"", ""});
        const QPoint below(5, centreOf(1).y() + 30);
        QVERIFY(!m_window->lstHeaders->indexAt(below).isValid());
        doubleClickAt(below);
        QVERIFY(m_doubles->questions.asked.isEmpty());
        m_window->mnuHeaders->popup(QPoint(0, 0));
        QVERIFY(!m_window->mnuHeadersEditHeader->isEnabled());
        QVERIFY(!m_window->mnuHeadersRemoveHeader->isEnabled());
        m_window->mnuHeaders->hide();

        m_doubles->questions.answerInput(QString());
        doubleClickAt(centreOf(1));
        QCOMPARE(m_doubles->questions.asked.size(), 1);
        QCOMPARE(m_doubles->questions.asked.constFirst().title, QStringLiteral("Edit Header"));
        QCOMPARE(m_doubles->questions.asked.constFirst().defaultText, QStringLiteral("B"));
    }
};

QTEST_MAIN(HeaderSelectionTest)
#include "tst_headerselection.moc"
