#include "ScriptedDialogs.h"
#include "platform/AppError.h"
#include "platform/Guard.h"

#include <QPushButton>
#include <QTest>

class TestGuard : public QObject
{
    Q_OBJECT

private slots:
    void errorInHandlerIsReportedAndEndsTheHandler()
    {
        ScopedScriptedDialogs dialogs;
        QPushButton button;
        int stepsDone = 0;
        connectGuarded(&button, &QPushButton::clicked, &button, [&] {
            ++stepsDone;
            throw AppError(QStringLiteral("Invalid data type for 'Left'"));
            ++stepsDone;
        });
        button.click();
        button.click();
        QCOMPARE(stepsDone, 2);
        QCOMPARE(dialogs->errors(), QStringList({"Invalid data type for 'Left'", "Invalid data type for 'Left'"}));
    }

    void memberSlotWithAndWithoutSignalArguments()
    {
        ScopedScriptedDialogs dialogs;
        struct Receiver : QObject
        {
            bool toggledTo = false;
            int clicks = 0;
            void onToggled(bool on) { toggledTo = on; }
            void onClick() { ++clicks; }
        } receiver;
        QPushButton button;
        button.setCheckable(true);
        connectGuarded(&button, &QPushButton::toggled, &receiver, &Receiver::onToggled);
        connectGuarded(&button, &QPushButton::clicked, &receiver, &Receiver::onClick);
        button.click();
        QVERIFY(receiver.toggledTo);
        QCOMPARE(receiver.clicks, 1);
        QVERIFY(dialogs->calls.isEmpty());
    }
};

QTEST_MAIN(TestGuard)
#include "tst_Guard.moc"
