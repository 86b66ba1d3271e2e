// The pause after system exclusive messages: which messages are followed by
// one, counted (how long a pause lasts is measured by bench/editor_measure).
#include <QtTest>

#include <memory>
#include <vector>

#include "MidiBulkIntervalManager.h"
#include "OstrelModel.h"

namespace {

// The pauses one message is followed by.
uint64_t pausesAfter(MidiBulkIntervalManager& manager, std::vector<unsigned char> bytes)
{
    const uint64_t before = manager.pausesHeld();
    manager.waitBulkBeforeTransmission(bytes.data(), static_cast<unsigned short>(bytes.size()));
    manager.waitBulkAfterTransmission(bytes.data(), static_cast<unsigned short>(bytes.size()));
    return manager.pausesHeld() - before;
}

}  // namespace

class MidiBulkIntervalManagerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pausesAfterF7WhileTheParserIsOnAndAnIntervalIsSet()
    {
        OstrelModel model;
        model.setModelIntValue(ParamBulkInterval, 5);
        model.setModelIntValue(ParamMessageParsed, 0);
        auto owned = std::make_unique<MidiBulkIntervalManager>(&model);  // starts from the model's values
        MidiBulkIntervalManager& manager = *owned;
        QCOMPARE(pausesAfter(manager, {0xF0, 0x01, 0xF7}), 0u);
        model.setModelIntValue(ParamMessageParsed, 1);
        QCOMPARE(pausesAfter(manager, {0xF0, 0x01, 0xF7}), 1u);
        QCOMPARE(pausesAfter(manager, {0x01, 0x02, 0xF7}), 1u);  // the end of a dump sent in parts
        QCOMPARE(pausesAfter(manager, {0x90, 0x3C, 0x40}), 0u);
        QCOMPARE(pausesAfter(manager, {0xF0, 0x01}), 0u);
        QCOMPARE(pausesAfter(manager, {}), 0u);
        manager.waitBulkAfterTransmission(nullptr, 0);

        manager.setEnabledBulkInterval(false);  // while windows close
        QCOMPARE(pausesAfter(manager, {0xF0, 0xF7}), 0u);
        manager.setEnabledBulkInterval(true);
        QCOMPARE(pausesAfter(manager, {0xF0, 0xF7}), 1u);
        model.setModelIntValue(ParamBulkInterval, 0);
        QCOMPARE(pausesAfter(manager, {0xF0, 0xF7}), 0u);
        owned.reset();
        model.setModelIntValue(ParamBulkInterval, 7);  // reaches nobody: unregistered
    }
};

QTEST_GUILESS_MAIN(MidiBulkIntervalManagerTest)
#include "MidiBulkIntervalManagerTest.moc"
