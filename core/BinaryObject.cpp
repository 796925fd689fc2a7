#include "core/BinaryObject.h"

#include <QCoreApplication>

namespace {

constexpr QByteArrayView Header("HPHP48-");
// The letter after the header names the calculator's ROM; the calculator reads any.
constexpr char RomLetter = 'E';

constexpr quint32 ListPrologue = 0x02A74;
constexpr quint32 StringPrologue = 0x02A2C;
constexpr quint32 ListEnd = 0x0312B;

QString described(const char* text)
{
    return QCoreApplication::translate("BinaryObject", text);
}

// What the object is, by its prologue, for a message.
QString objectKind(quint32 prologue)
{
    struct Kind
    {
        quint32 prologue;
        const char* name;
    };
    static const Kind kinds[] = {
        {0x02911, QT_TRANSLATE_NOOP("BinaryObject", "a system binary integer")},
        {0x02933, QT_TRANSLATE_NOOP("BinaryObject", "a real number")},
        {0x02955, QT_TRANSLATE_NOOP("BinaryObject", "a long real number")},
        {0x02977, QT_TRANSLATE_NOOP("BinaryObject", "a complex number")},
        {0x0299D, QT_TRANSLATE_NOOP("BinaryObject", "a long complex number")},
        {0x029BF, QT_TRANSLATE_NOOP("BinaryObject", "a character")},
        {0x029E8, QT_TRANSLATE_NOOP("BinaryObject", "an array")},
        {0x02A0A, QT_TRANSLATE_NOOP("BinaryObject", "a linked array")},
        {StringPrologue, QT_TRANSLATE_NOOP("BinaryObject", "a string")},
        {0x02A4E, QT_TRANSLATE_NOOP("BinaryObject", "a binary integer")},
        {ListPrologue, QT_TRANSLATE_NOOP("BinaryObject", "a list")},
        {0x02A96, QT_TRANSLATE_NOOP("BinaryObject", "a directory")},
        {0x02AB8, QT_TRANSLATE_NOOP("BinaryObject", "an algebraic expression")},
        {0x02ADA, QT_TRANSLATE_NOOP("BinaryObject", "a unit object")},
        {0x02AFC, QT_TRANSLATE_NOOP("BinaryObject", "a tagged object")},
        {0x02B1E, QT_TRANSLATE_NOOP("BinaryObject", "a graphics object")},
        {0x02B40, QT_TRANSLATE_NOOP("BinaryObject", "a library")},
        {0x02B62, QT_TRANSLATE_NOOP("BinaryObject", "a backup object")},
        {0x02B88, QT_TRANSLATE_NOOP("BinaryObject", "library data")},
        {0x02D9D, QT_TRANSLATE_NOOP("BinaryObject", "a program")},
        {0x02DCC, QT_TRANSLATE_NOOP("BinaryObject", "a code object")},
        {0x02E48, QT_TRANSLATE_NOOP("BinaryObject", "a global name")},
        {0x02E6D, QT_TRANSLATE_NOOP("BinaryObject", "a local name")},
        {0x02E92, QT_TRANSLATE_NOOP("BinaryObject", "an XLIB name")},
    };
    for (const Kind& kind : kinds) {
        if (kind.prologue == prologue)
            return described(kind.name);
    }
    return described("an object of a kind Tabulet does not know (prologue %1)")
        .arg(QString::number(prologue, 16).toUpper().rightJustified(5, u'0'));
}

// The nibbles after the header, read in order; reading past the end fails.
class Nibbles
{
public:
    explicit Nibbles(QByteArrayView bytes) : m_bytes(bytes) {}

    bool field(int count, quint32& value)
    {
        value = 0;
        if (m_at + count > 2 * m_bytes.size())
            return false;
        for (int i = 0; i < count; ++i, ++m_at) {
            const auto byte = quint8(m_bytes[m_at / 2]);
            value |= quint32(m_at % 2 == 0 ? byte & 0x0f : byte >> 4) << (4 * i);
        }
        return true;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

class NibbleWriter
{
public:
    void field(int count, quint32 value)
    {
        for (int i = 0; i < count; ++i, value >>= 4) {
            if (m_high)
                m_bytes.back() = char(quint8(m_bytes.back()) | ((value & 0x0f) << 4));
            else
                m_bytes.append(char(value & 0x0f));
            m_high = !m_high;
        }
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    bool m_high = false;
};

QString damaged()
{
    return described("a damaged object: it ends before its list does");
}

bool readString(Nibbles& nibbles, QByteArray& string)
{
    quint32 length = 0;
    // The length counts its own five nibbles, then two for each character.
    if (!nibbles.field(5, length) || length < 5 || (length - 5) % 2 != 0)
        return false;
    string.resize((length - 5) / 2);
    for (char& c : string) {
        quint32 value = 0;
        if (!nibbles.field(2, value))
            return false;
        c = char(value);
    }
    return true;
}

} // namespace

namespace binaryobject {

bool isBinary(QByteArrayView bytes)
{
    return bytes.startsWith(Header);
}

Reading read(QByteArrayView bytes)
{
    Reading reading;
    if (!isBinary(bytes) || bytes.size() < Header.size() + 1) {
        reading.notAList = damaged();
        return reading;
    }
    Nibbles nibbles(bytes.sliced(Header.size() + 1));
    quint32 prologue = 0;
    if (!nibbles.field(5, prologue)) {
        reading.notAList = damaged();
        return reading;
    }
    if (prologue != ListPrologue) {
        reading.notAList = objectKind(prologue);
        return reading;
    }
    for (;;) {
        quint32 element = 0;
        if (!nibbles.field(5, element)) {
            reading.notAList = damaged();
            break;
        }
        if (element == ListEnd)
            break;
        if (element != StringPrologue) {
            reading.notAList =
                described("a list that holds %1, not only strings").arg(objectKind(element));
            break;
        }
        QByteArray string;
        if (!readString(nibbles, string)) {
            reading.notAList = damaged();
            break;
        }
        reading.strings.append(string);
    }
    if (!reading.notAList.isEmpty())
        reading.strings.clear();
    return reading;
}

QByteArray write(const QList<QByteArray>& strings)
{
    NibbleWriter nibbles;
    nibbles.field(5, ListPrologue);
    for (const QByteArray& string : strings) {
        nibbles.field(5, StringPrologue);
        nibbles.field(5, quint32(5 + 2 * string.size()));
        for (const char c : string)
            nibbles.field(2, quint8(c));
    }
    nibbles.field(5, ListEnd);
    return Header.toByteArray() + RomLetter + nibbles.bytes();
}

} // namespace binaryobject

namespace binaryobject {

QByteArray textForm(const QList<QByteArray>& strings)
{
    QByteArray text("{\r\n");
    for (const QByteArray& string : strings)
        text += '"' + QByteArray(string).replace("\n", "\r\n") + "\"\r\n";
    return text + "}\r\n";
}

bool isTextFormOfList(QByteArrayView text)
{
    QByteArrayView rest = text.trimmed();
    if (rest.startsWith('%'))
        rest = rest.sliced(std::min(rest.size(), rest.indexOf('\n') + 1)).trimmed();
    return rest.isEmpty() || rest.startsWith('{');
}

QList<QByteArray> stringsOfTextForm(QByteArrayView text)
{
    QList<QByteArray> strings;
    qsizetype at = text.indexOf('{');
    while (at >= 0) {
        const qsizetype open = text.indexOf('"', at);
        const qsizetype close = open < 0 ? -1 : text.indexOf('"', open + 1);
        if (close < 0)
            break;
        strings << text.sliced(open + 1, close - open - 1).toByteArray().replace("\r\n", "\n");
        at = close + 1;
    }
    return strings;
}

qsizetype firstWithQuote(const QList<QByteArray>& strings)
{
    for (qsizetype at = 0; at < strings.size(); ++at) {
        if (strings.at(at).contains('"'))
            return at;
    }
    return -1;
}

} // namespace binaryobject
