// The application's side of the sending interface: one message to the
// output ports of a group, the bulk interval around system exclusive, and
// what left reported to the analyzer for the Out monitor.
//
// Threads: send from any thread, several at once; it holds no lock of its
// own, and the ports, the analyzer and the bulk interval manager each lock
// only for their own short work (no lock is held across a port's send).
// The restoring flag is set on the user-interface thread and read there.
#pragma once

#include <atomic>

#include "MidiSender.h"

class MidiAnalyzer;
class MidiBulkIntervalManager;
class MidiOutputPort;

class MidiSendPath : public MidiSender {
public:
    // All four outlive the path.
    MidiSendPath(MidiOutputPort* first, MidiOutputPort* second, MidiAnalyzer* analyzer,
                 MidiBulkIntervalManager* bulkIntervalManager);

    bool send(const unsigned char* bytes, uint32_t length, unsigned char eventType,
              OutputPortGroup group, bool skipBulkInterval, unsigned long long hostTime) override;
    uint32_t largestMessage(OutputPortGroup group) const override;
    bool isRestoringWindows() const override { return m_restoring; }
    void setRestoringWindows(bool restoring) { m_restoring = restoring; }

private:
    MidiOutputPort* m_ports[2];
    MidiAnalyzer* m_analyzer;
    MidiBulkIntervalManager* m_bulkIntervalManager;
    std::atomic<bool> m_restoring{false};
};
