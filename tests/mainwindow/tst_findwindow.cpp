#include "mainwindow/frmFind.h"

#include <QLabel>
#include <QTest>

// The Find window keeps one size for Find and one for Replace, whatever its status says.
class FindWindowTest : public QObject
{
    Q_OBJECT

    // The window's size once its layout has dealt with every change.
    static QSize settled(QWidget& window)
    {
        QCoreApplication::sendPostedEvents();
        return window.size();
    }

private Q_SLOTS:
    void sizeStaysPut()
    {
        frmFind window(nullptr);
        window.showFor(false);
        const QSize findSize = settled(window);
        window.showFor(true);
        const QSize replaceSize = settled(window);
        QVERIFY(replaceSize.height() > findSize.height());

        const QString status = QStringLiteral("Replaced 1200. 34 in headers not replaced: the "
                                              "header would be longer than 22 characters.");
        window.setStatus(status);
        QCOMPARE(settled(window), replaceSize);
        QCOMPARE(window.status(), status);
        const auto* label = window.findChild<QLabel*>(QStringLiteral("lblStatus"));
        QCOMPARE(label->toolTip(), status);
        QVERIFY(label->text().endsWith(QChar(0x2026)));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());

        window.showFor(false);
        window.setStatus(status);
        QCOMPARE(settled(window), findSize);
    }
};

QTEST_MAIN(FindWindowTest)
#include "tst_findwindow.moc"
