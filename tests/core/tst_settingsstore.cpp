#include "platform/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The real store over QSettings, pointed at a private configuration folder.
class SettingsStoreTest : public QObject
{
    Q_OBJECT

    const QStringList m_keys{PreferenceKey::WrkDir, PreferenceKey::AsciiHeader,
                             PreferenceKey::AsciiText, PreferenceKey::DefaultFont,
                             PreferenceKey::DefaultFontSize};
    QTemporaryDir m_config;

private Q_SLOTS:
    void initTestCase()
    {
        // QSettings takes its folder from the environment when it is first used, which is here.
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QVERIFY(QSettings("Tabulet", "Tabulet").fileName().startsWith(m_config.path()));
    }
    void init() { QSettings("Tabulet", "Tabulet").clear(); }

    void absentKeyReadsAsTheReadersDefault_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("defaultValue");
        QTest::newRow("WrkDir, Preferences dialog") << PreferenceKey::WrkDir << "C:\\";
        QTest::newRow("WrkDir, file dialogs") << PreferenceKey::WrkDir << QString();
        QTest::newRow("ASCII Header, Preferences dialog") << PreferenceKey::AsciiHeader << "1";
        QTest::newRow("ASCII Header, writer") << PreferenceKey::AsciiHeader << QString();
        QTest::newRow("ASCII Text, Preferences dialog")
            << PreferenceKey::AsciiText << "%%HP: T(3)A(D)F(.);";
        QTest::newRow("ASCII Text, writer") << PreferenceKey::AsciiText << QString();
        QTest::newRow("Default Font") << PreferenceKey::DefaultFont << "Arial";
        QTest::newRow("Default Font Size") << PreferenceKey::DefaultFontSize << "11";
    }
    void absentKeyReadsAsTheReadersDefault()
    {
        QFETCH(QString, key);
        QFETCH(QString, defaultValue);
        QtSettingsStore store;
        QCOMPARE(store.read(key, defaultValue), defaultValue);
        // A stored value wins over every default, even an empty one.
        store.write(key, QString());
        QCOMPARE(store.read(key, defaultValue), QString());
        store.write(key, QStringLiteral("0"));
        QCOMPARE(store.read(key, defaultValue), QStringLiteral("0"));
    }

    void valuesComeBackExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("drive root") << "C:\\";
        QTest::newRow("transfer header") << "%%HP: T(3)A(D)F(.);";
        QTest::newRow("spaces at both ends") << "  Times New Roman  ";
        QTest::newRow("comma") << "a, b";
        QTest::newRow("leading at sign") << "@Variant(x)";
        QTest::newRow("INI punctuation") << "[x] k=v ;c #h \"q\"";
        QTest::newRow("non-ASCII") << "Gr\u00fc\u00dfe \u20ac";
        QTest::newRow("backslashes") << "\\\\server\\share\\n";
    }
    void valuesComeBackExactly()
    {
        QFETCH(QString, value);
        for (const QString& key : m_keys)
            QtSettingsStore().write(key, value);
        // Read by a fresh store and by QSettings itself: kept under [Preferences] at once.
        const QSettings settings("Tabulet", "Tabulet");
        for (const QString& key : m_keys) {
            QCOMPARE(QtSettingsStore().read(key, QStringLiteral("default")), value);
            QCOMPARE(settings.value("Preferences/" + key).toString(), value);
        }
    }

    void deleteSectionRestoresEveryDefault()
    {
        QtSettingsStore store;
        store.deleteSection(); // nothing stored yet: harmless
        for (const QString& key : m_keys)
            store.write(key, QStringLiteral("set"));
        store.deleteSection();
        for (const QString& key : m_keys)
            QCOMPARE(store.read(key, QStringLiteral("default")), QStringLiteral("default"));
        QVERIFY(QSettings("Tabulet", "Tabulet").childGroups().isEmpty());
    }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "tst_settingsstore.moc"
