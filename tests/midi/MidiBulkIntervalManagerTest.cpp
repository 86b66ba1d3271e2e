// The pause after system exclusive messages.
#include <QElapsedTimer>
#include <QtTest>

#include "MidiBulkIntervalManager.h"
#include "OstrelModel.h"

namespace {

qint64 millisecondsFor(MidiBulkIntervalManager& manager, std::initializer_list<unsigned char> bytes)
{
    const std::vector<unsigned char> data(bytes);
    QElapsedTimer timer;
    timer.start();
    manager.waitBulkBeforeTransmission(data.data(), static_cast<unsigned short>(data.size()));
    manager.waitBulkAfterTransmission(data.data(), static_cast<unsigned short>(data.size()));
    return timer.elapsed();
}

}  // namespace

class MidiBulkIntervalManagerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pausesAfterF7OnlyWhileTheParserIsOn()
    {
        OstrelModel model;
        model.setModelIntValue(ParamBulkInterval, 100);
        MidiBulkIntervalManager manager(&model);
        // Lower bounds only: the pause can never be shorter.
        QVERIFY(millisecondsFor(manager, {0xF0, 0x01, 0xF7}) >= 100);
        QVERIFY(millisecondsFor(manager, {0x01, 0x02, 0xF7}) >= 100);

        model.setModelIntValue(ParamBulkInterval, 0);
        QVERIFY(millisecondsFor(manager, {0xF0, 0xF7}) < 100);
        model.setModelIntValue(ParamBulkInterval, 250);
        QVERIFY(millisecondsFor(manager, {0xF0, 0xF7}) >= 250);

        model.setModelIntValue(ParamMessageParsed, 0);
        QVERIFY(millisecondsFor(manager, {0xF0, 0xF7}) < 250);
        model.setModelIntValue(ParamMessageParsed, 1);

        manager.setEnabledBulkInterval(false);
        QVERIFY(millisecondsFor(manager, {0xF0, 0xF7}) < 250);
        manager.setEnabledBulkInterval(true);
        QVERIFY(millisecondsFor(manager, {0xF0, 0xF7}) >= 250);
    }

    void noPauseForOtherMessages()
    {
        OstrelModel model;
        model.setModelIntValue(ParamBulkInterval, 1000);
        MidiBulkIntervalManager manager(&model);
        QVERIFY(millisecondsFor(manager, {0x90, 0x3C, 0x40}) < 1000);
        QVERIFY(millisecondsFor(manager, {0xF0, 0x01}) < 1000);
        manager.waitBulkAfterTransmission(nullptr, 0);
    }

    void startsFromTheModelsValues()
    {
        OstrelModel model;
        model.setModelIntValue(ParamBulkInterval, 120);
        model.setModelIntValue(ParamMessageParsed, 0);
        {
            MidiBulkIntervalManager manager(&model);
            QVERIFY(millisecondsFor(manager, {0xF0, 0xF7}) < 120);
            model.setModelIntValue(ParamMessageParsed, 1);
            QVERIFY(millisecondsFor(manager, {0xF0, 0xF7}) >= 120);
        }
        // Unregistered on destruction: changes after it reach nobody.
        model.setModelIntValue(ParamBulkInterval, 5);
    }
};

QTEST_GUILESS_MAIN(MidiBulkIntervalManagerTest)
#include "MidiBulkIntervalManagerTest.moc"
