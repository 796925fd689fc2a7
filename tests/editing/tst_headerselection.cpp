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

private Q_SLOTS:
    void init();
    void cleanup();

    void typedTextFollowsItsRecordAcrossSelections();
    void everyKeystrokeStoresTheWholeText();
    void recordTextSurvivesSelectingAwayAndBack_data();
    void recordTextSurvivesSelectingAwayAndBack();
    void nonAsciiTypedTextReachesTheRecord();
    void editsWithoutSelectionReachNoRecord();
    void editsAfterReadingReachOnlyTheField();
    void selectingAnEmptyRecordEmptiesTheField();
    void headersMenuStates_data();
    void headersMenuStates();
    void rightPressKeepsSelectionAndOpensHeadersMenu();
    void rightPressOnAnotherEntryThenEditRenamesTheSelectedOne();
    void doubleClickRenamesTheEntryUnderThePointer();
    void doubleClickWithoutSelectionDoesNothing();

private:
    qint32 addEntry(const QString& header, const QString& text = QString());
    void clickEntry(int position, Qt::MouseButton button = Qt::LeftButton);
    void doubleClickAt(const QPoint& point);
    void typeIntoField(const QString& asciiText);
    QString recordAt(int position) const;

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;
};

void HeaderSelectionTest::init()
{
    m_doubles = std::make_unique<TestServices>();
    m_window = std::make_unique<frmTabulet>(m_doubles->services());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void HeaderSelectionTest::cleanup()
{
    QVERIFY(m_doubles->questions.allAnswered());
    m_window.reset();
    m_doubles.reset();
}

qint32 HeaderSelectionTest::addEntry(const QString& header, const QString& text)
{
    const qint32 index = *m_window->store().addRecord(header);
    m_window->store().setRecordText(index, text);
    return index;
}

void HeaderSelectionTest::clickEntry(int position, Qt::MouseButton button)
{
    QListView* list = m_window->lstHeaders;
    const QRect rect = list->visualRect(m_window->store().index(position));
    QTest::mouseClick(list->viewport(), button, {}, rect.center());
}

// A double click as a window system delivers it: a whole click first, then the second press
// as the double click itself.
void HeaderSelectionTest::doubleClickAt(const QPoint& point)
{
    QWidget* viewport = m_window->lstHeaders->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, point);
}

void HeaderSelectionTest::typeIntoField(const QString& asciiText)
{
    QTest::keyClicks(m_window->txtDataField, asciiText);
}

QString HeaderSelectionTest::recordAt(int position) const
{
    return m_window->store().recordText(m_window->store().recordIndexAt(position));
}

void HeaderSelectionTest::typedTextFollowsItsRecordAcrossSelections()
{
    addEntry(QStringLiteral("A"), QStringLiteral("alpha"));
    addEntry(QStringLiteral("B"), QStringLiteral("beta"));

    clickEntry(0);
    QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("alpha"));
    QTest::keyClick(m_window->txtDataField, Qt::Key_End, Qt::ControlModifier);
    typeIntoField(QStringLiteral(" one"));
    QTest::keyClick(m_window->txtDataField, Qt::Key_Return);
    typeIntoField(QStringLiteral("two"));
    const QString typed = QStringLiteral("alpha one\r\ntwo");
    QCOMPARE(recordAt(0), typed);

    clickEntry(1);
    QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("beta"));
    QCOMPARE(recordAt(0), typed);
    typeIntoField(QStringLiteral("!"));
    QCOMPARE(recordAt(1), QStringLiteral("!beta"));
    QCOMPARE(recordAt(0), typed);

    clickEntry(0);
    QCOMPARE(m_window->dataFieldText(), typed);
    QCOMPARE(m_window->txtBuffer, typed);
}

void HeaderSelectionTest::everyKeystrokeStoresTheWholeText()
{
    addEntry(QStringLiteral("A"));
    clickEntry(0);
    QPlainTextEdit* field = m_window->txtDataField;
    const auto storedMatchesField = [this] {
        return recordAt(0) == m_window->dataFieldText() && m_window->txtBuffer == recordAt(0);
    };

    QTest::keyClick(field, Qt::Key_A);
    QVERIFY(storedMatchesField());
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(storedMatchesField());
    // Shift+Enter breaks the line inside the paragraph; it is a line break all the same.
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
    QVERIFY(storedMatchesField());
    QTest::keyClick(field, Qt::Key_B);
    QCOMPARE(recordAt(0), QStringLiteral("a\r\n\r\nb"));
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(recordAt(0), QStringLiteral("a\r\n"));
    QVERIFY(storedMatchesField());
}

void HeaderSelectionTest::recordTextSurvivesSelectingAwayAndBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("lines") << QStringLiteral("one\r\ntwo\r\nthree")
                           << QStringLiteral("one\ntwo\nthree");
    QTest::newRow("trailing break") << QStringLiteral("last\r\n") << QStringLiteral("last\n");
    QTest::newRow("only breaks") << QStringLiteral("\r\n\r\n") << QStringLiteral("\n\n");
    QTest::newRow("no-break space") << QStringLiteral("a\u00a0b\u00a0") << QStringLiteral("a b ");
    QTest::newRow("tabs and quotes")
        << QStringLiteral("\tx \"y\"  ") << QStringLiteral("\tx \"y\"  ");
    // A line feed without CR in a file stays part of its line; merely looking at the record
    // must not rewrite it.
    QTest::newRow("lone LF and CR") << QStringLiteral("a\nb\rc") << QStringLiteral("a\nb\nc");

    QString everyByte;
    for (int byte = 0; byte < 256; ++byte)
        if (byte != '\r' && byte != '\n')
            everyByte += QChar(byte);
    QString everyByteShown = everyByte;
    everyByteShown.replace(QChar(0xa0), QLatin1Char(' '));
    QTest::newRow("every other Latin-1 character") << everyByte << everyByteShown;
}

void HeaderSelectionTest::recordTextSurvivesSelectingAwayAndBack()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    addEntry(QStringLiteral("A"), text);
    addEntry(QStringLiteral("B"), QStringLiteral("other"));

    clickEntry(0);
    // toPlainText() is what the user sees, with no-break spaces shown as spaces.
    QCOMPARE(m_window->txtDataField->toPlainText(), shown);
    clickEntry(1);
    clickEntry(0);
    QCOMPARE(recordAt(0), text);
    QCOMPARE(m_window->txtBuffer, text);
    QCOMPARE(recordAt(1), QStringLiteral("other"));
}

void HeaderSelectionTest::nonAsciiTypedTextReachesTheRecord()
{
    addEntry(QStringLiteral("A"));
    clickEntry(0);
    for (const char16_t character : {u'\u00e9', u'\u00a0', u'\u00ff', u'\u00c4'})
        QTest::sendKeyEvent(QTest::Click, m_window->txtDataField, Qt::Key_unknown,
                            QString(QChar(character)), Qt::NoModifier);
    QCOMPARE(recordAt(0), QStringLiteral("\u00e9\u00a0\u00ff\u00c4"));
}

void HeaderSelectionTest::editsWithoutSelectionReachNoRecord()
{
    typeIntoField(QStringLiteral("x"));
    QCOMPARE(m_window->txtBuffer, QStringLiteral("x"));

    addEntry(QStringLiteral("A"), QStringLiteral("kept"));
    addEntry(QStringLiteral("B"));
    QTest::keyClick(m_window->txtDataField, Qt::Key_Return);
    typeIntoField(QStringLiteral("y"));
    QCOMPARE(m_window->selectedPosition(), -1);
    QCOMPARE(m_window->txtBuffer, QStringLiteral("x\r\ny"));
    QCOMPARE(recordAt(0), QStringLiteral("kept"));
    QCOMPARE(recordAt(1), QString());

    // Selecting an entry replaces the unstored text with the record.
    clickEntry(0);
    QCOMPARE(m_window->txtBuffer, QStringLiteral("kept"));
}

void HeaderSelectionTest::editsAfterReadingReachOnlyTheField()
{
    // Reading a file passes each record's text through the field with no entry selected and
    // then stores the same text into the record; typing next must leave that record alone.
    const qint32 index = addEntry(QStringLiteral("A"));
    const QString text = QStringLiteral("read\r\nfrom a file");
    m_window->setDataFieldText(text);
    m_window->store().setRecordText(index, m_window->txtBuffer);
    typeIntoField(QStringLiteral("typed"));
    QCOMPARE(m_window->store().recordText(index), text);
    QCOMPARE(m_window->txtBuffer, QStringLiteral("typedread\r\nfrom a file"));
}

void HeaderSelectionTest::selectingAnEmptyRecordEmptiesTheField()
{
    addEntry(QStringLiteral("A"), QStringLiteral("full"));
    addEntry(QStringLiteral("B"));
    clickEntry(0);
    clickEntry(1);
    QVERIFY(m_window->txtDataField->document()->isEmpty());
    QCOMPARE(m_window->txtBuffer, QString());
    QCOMPARE(recordAt(0), QStringLiteral("full"));
}

void HeaderSelectionTest::headersMenuStates_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("editAndRemove");

    QTest::newRow("empty list") << 0 << -1 << false;
    QTest::newRow("entries, none selected") << 3 << -1 << false;
    QTest::newRow("first selected") << 3 << 0 << true;
    QTest::newRow("last selected") << 3 << 2 << true;
}

void HeaderSelectionTest::headersMenuStates()
{
    QFETCH(int, entries);
    QFETCH(int, selected);
    QFETCH(bool, editAndRemove);
    for (int i = 0; i < entries; ++i)
        addEntry(QStringLiteral("h%1").arg(i));
    if (selected >= 0)
        clickEntry(selected);
    // Start from the opposite state so that opening the menu has to set it.
    m_window->mnuHeadersEditHeader->setEnabled(!editAndRemove);
    m_window->mnuHeadersRemoveHeader->setEnabled(!editAndRemove);

    m_window->mnuHeaders->popup(QPoint(0, 0));
    QCOMPARE(m_window->mnuHeadersEditHeader->isEnabled(), editAndRemove);
    QCOMPARE(m_window->mnuHeadersRemoveHeader->isEnabled(), editAndRemove);
    QVERIFY(m_window->mnuHeadersNewHeader->isEnabled());
    m_window->mnuHeaders->hide();
}

void HeaderSelectionTest::rightPressKeepsSelectionAndOpensHeadersMenu()
{
    addEntry(QStringLiteral("A"), QStringLiteral("alpha"));
    addEntry(QStringLiteral("B"), QStringLiteral("beta"));
    clickEntry(0);
    m_window->txtDataField->setFocus();
    QVERIFY(m_window->txtDataField->hasFocus());
    QVERIFY(m_window->mnuEditPaste->isEnabled());
    m_window->mnuHeadersEditHeader->setEnabled(false);

    clickEntry(1, Qt::RightButton);
    QVERIFY(m_window->mnuHeaders->isVisible());
    QVERIFY(m_window->lstHeaders->hasFocus());
    QVERIFY(!m_window->mnuEditPaste->isEnabled());
    QVERIFY(m_window->mnuHeadersEditHeader->isEnabled());
    QCOMPARE(m_window->selectedPosition(), 0);
    QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("alpha"));
    m_window->mnuHeaders->hide();
}

void HeaderSelectionTest::rightPressOnAnotherEntryThenEditRenamesTheSelectedOne()
{
    addEntry(QStringLiteral("A"), QStringLiteral("alpha"));
    addEntry(QStringLiteral("B"), QStringLiteral("beta"));
    addEntry(QStringLiteral("C"), QStringLiteral("gamma"));
    clickEntry(1);
    clickEntry(2, Qt::RightButton);
    QVERIFY(m_window->mnuHeaders->isVisible());

    m_doubles->questions.answerInput(QStringLiteral("Renamed"));
    m_window->mnuHeadersEditHeader->trigger();
    m_window->mnuHeaders->hide();

    QCOMPARE(m_doubles->questions.asked.size(), 1);
    QCOMPARE(m_doubles->questions.asked.constFirst().defaultText, QStringLiteral("B"));
    QCOMPARE(m_window->store().headerAt(1), QStringLiteral("Renamed"));
    QCOMPARE(m_window->store().headerAt(2), QStringLiteral("C"));
    QCOMPARE(recordAt(1), QStringLiteral("beta"));
}

void HeaderSelectionTest::doubleClickRenamesTheEntryUnderThePointer()
{
    addEntry(QStringLiteral("A"));
    addEntry(QStringLiteral("B"));
    QListView* list = m_window->lstHeaders;
    m_doubles->questions.answerInput(QString());
    doubleClickAt(list->visualRect(m_window->store().index(1)).center());
    QCOMPARE(m_doubles->questions.asked.size(), 1);
    QCOMPARE(m_doubles->questions.asked.constFirst().title, QStringLiteral("Edit Header"));
    QCOMPARE(m_doubles->questions.asked.constFirst().defaultText, QStringLiteral("B"));
}

void HeaderSelectionTest::doubleClickWithoutSelectionDoesNothing()
{
    QListView* list = m_window->lstHeaders;
    // On an empty list, then below the entries of a list where nothing is selected.
    doubleClickAt(QPoint(5, 5));
    addEntry(QStringLiteral("A"), QStringLiteral("alpha"));
    const QPoint below(5, list->visualRect(m_window->store().index(0)).bottom() + 10);
    QVERIFY(!list->indexAt(below).isValid());
    doubleClickAt(below);
    m_window->lstHeaders_DblClick();

    QVERIFY(m_doubles->questions.asked.isEmpty());
    QCOMPARE(m_window->store().count(), 1);
    QCOMPARE(m_window->store().headerAt(0), QStringLiteral("A"));
    QCOMPARE(recordAt(0), QStringLiteral("alpha"));
}

QTEST_MAIN(HeaderSelectionTest)
#include "tst_headerselection.moc"
