#include "platform/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The real store over QSettings, pointed at a private configuration folder.
class SettingsStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void absentKeyReadsAsTheReadersDefault_data();
    void absentKeyReadsAsTheReadersDefault();
    void valuesComeBackExactly_data();
    void valuesComeBackExactly();
    void valuesLandInTheTabuletPreferencesSection();
    void deleteSectionRestoresEveryDefault();

private:
    static QStringList allKeys();
    QString storeFile() const;

    QTemporaryDir m_config;
};

QStringList SettingsStoreTest::allKeys()
{
    return {PreferenceKey::WrkDir, PreferenceKey::AsciiHeader, PreferenceKey::AsciiText,
            PreferenceKey::DefaultFont, PreferenceKey::DefaultFontSize};
}

QString SettingsStoreTest::storeFile() const
{
    return QSettings(QStringLiteral("Tabulet"), QStringLiteral("Tabulet")).fileName();
}

void SettingsStoreTest::initTestCase()
{
    // QSettings takes its folder from the environment when it is first used, which is here.
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QVERIFY2(storeFile().startsWith(m_config.path()), qPrintable(storeFile()));
}

void SettingsStoreTest::init()
{
    QSettings(QStringLiteral("Tabulet"), QStringLiteral("Tabulet")).clear();
}

void SettingsStoreTest::absentKeyReadsAsTheReadersDefault_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("defaultValue");

    QTest::newRow("WrkDir, Preferences dialog") << PreferenceKey::WrkDir << QStringLiteral("C:\\");
    QTest::newRow("WrkDir, file dialogs") << PreferenceKey::WrkDir << QString();
    QTest::newRow("ASCII Header, Preferences dialog")
        << PreferenceKey::AsciiHeader << QStringLiteral("1");
    QTest::newRow("ASCII Header, writer") << PreferenceKey::AsciiHeader << QString();
    QTest::newRow("ASCII Text, Preferences dialog")
        << PreferenceKey::AsciiText << QStringLiteral("%%HP: T(3)A(D)F(.);");
    QTest::newRow("ASCII Text, writer") << PreferenceKey::AsciiText << QString();
    QTest::newRow("Default Font") << PreferenceKey::DefaultFont << QStringLiteral("Arial");
    QTest::newRow("Default Font Size") << PreferenceKey::DefaultFontSize << QStringLiteral("11");
}

void SettingsStoreTest::absentKeyReadsAsTheReadersDefault()
{
    QFETCH(QString, key);
    QFETCH(QString, defaultValue);

    QtSettingsStore store;
    QCOMPARE(store.read(key, defaultValue), defaultValue);
    QCOMPARE(store.read(key), QString());

    // A stored value wins over every default, even an empty one.
    store.write(key, QString());
    QCOMPARE(store.read(key, defaultValue), QString());
    store.write(key, QStringLiteral("0"));
    QCOMPARE(store.read(key, defaultValue), QStringLiteral("0"));
}

void SettingsStoreTest::valuesComeBackExactly_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("drive root") << QStringLiteral("C:\\");
    QTest::newRow("transfer header") << QStringLiteral("%%HP: T(3)A(D)F(.);");
    QTest::newRow("spaces at both ends") << QStringLiteral("  Times New Roman  ");
    QTest::newRow("comma") << QStringLiteral("a, b");
    QTest::newRow("leading at sign") << QStringLiteral("@Variant(x)");
    QTest::newRow("INI punctuation") << QStringLiteral("[x] k=v ;c #h \"q\"");
    QTest::newRow("non-ASCII") << QStringLiteral("Gr\u00fc\u00dfe \u20ac");
    QTest::newRow("backslashes") << QStringLiteral("\\\\server\\share\\n");
}

void SettingsStoreTest::valuesComeBackExactly()
{
    QFETCH(QString, value);

    for (const QString& key : allKeys())
        QtSettingsStore().write(key, value);
    const QtSettingsStore store;
    for (const QString& key : allKeys())
        QCOMPARE(store.read(key, QStringLiteral("default")), value);
}

void SettingsStoreTest::valuesLandInTheTabuletPreferencesSection()
{
    QtSettingsStore().write(PreferenceKey::WrkDir, QStringLiteral("/home/ledra"));

    QVERIFY2(storeFile().endsWith(QStringLiteral("/Tabulet/Tabulet.conf")),
             qPrintable(storeFile()));
    // Written through to the file at once, so the value outlives the run.
    QFile file(storeFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY2(content.contains("[Preferences]\nWrkDir=/home/ledra\n"), content.constData());
}

void SettingsStoreTest::deleteSectionRestoresEveryDefault()
{
    QtSettingsStore store;
    // Deleting what was never stored is harmless.
    store.deleteSection();
    for (const QString& key : allKeys())
        store.write(key, QStringLiteral("set"));

    store.deleteSection();
    for (const QString& key : allKeys())
        QCOMPARE(store.read(key, QStringLiteral("default")), QStringLiteral("default"));
    QVERIFY(!QSettings(QStringLiteral("Tabulet"), QStringLiteral("Tabulet"))
                 .childGroups()
                 .contains(QStringLiteral("Preferences")));
    store.deleteSection();
}

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "tst_settingsstore.moc"
