// Holds the sending thread for the bulk interval after every message that
// ends with F7, so that instruments taking system exclusive dumps get their
// pause. Applies only while the parser is on.
//
// Threads: updateParameter and setEnabledBulkInterval on the user-interface
// thread; the waits on whichever thread sent. The shared values are atomics.
#pragma once

#include <atomic>
#include <cstdint>

#include "ModelAssistant.h"

class OstrelModel;

class MidiBulkIntervalManager : public ModelAssistant {
public:
    // Takes the interval and the parser switch from the model and follows them.
    explicit MidiBulkIntervalManager(OstrelModel* model);
    ~MidiBulkIntervalManager() override;

    MidiBulkIntervalManager(const MidiBulkIntervalManager&) = delete;
    MidiBulkIntervalManager& operator=(const MidiBulkIntervalManager&) = delete;

    void waitBulkBeforeTransmission(const unsigned char* data, uint32_t length);
    // Spins for the interval when enabled and the last byte is F7.
    void waitBulkAfterTransmission(const unsigned char* data, uint32_t length);
    // Off while all sub-windows close; on again restores the model's interval.
    void setEnabledBulkInterval(bool enabled);
    // How many pauses were held since creation (any thread).
    uint64_t pausesHeld() const { return m_pauses.load(); }

    void updateParameter(unsigned int id) override;

private:
    OstrelModel* m_model;
    std::atomic<int> m_interval;
    std::atomic<bool> m_enabled;
    std::atomic<uint64_t> m_pauses{0};
};
