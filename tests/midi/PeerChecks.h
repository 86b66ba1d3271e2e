// The checks every service's ports pass against a peer client (a JackPeer
// or an AlsaPeer): its traffic arrives whole and in order, ours reaches it,
// and its vanishing leaves errors and "Not Connected".
#pragma once

#include <QtTest>

#include "MidiInputPort.h"
#include "PacketCollector.h"
#include "PortTraffic.h"

namespace port_traffic {

template <typename Peer>
void peerTrafficArrives(Peer& peer, MidiInputPort& input, PacketCollector& collector, const QString& source)
{
    input.getInputPortNameList(nullptr);
    QCOMPARE(input.openInputPort(source), MIDI_RESULT_SUCCESS);
    const std::vector<Bytes> messages = traffic();
    for (const Bytes& message : messages) {
        peer.send(message);
    }
    const Bytes expected = joined(messages);
    QVERIFY2(collector.waitForBytes(expected.size()),
             qPrintable(QString("%1 of %2 bytes arrived").arg(collector.bytes().size()).arg(expected.size())));
    QCOMPARE(collector.bytes(), expected);
    for (const auto& packet : collector.packets()) {
        QVERIFY(packet.hostTime != 0);
    }
}

template <typename Peer>
void ourTrafficArrives(Peer& peer, MidiOutputPort& output, const QString& destination)
{
    output.getOutputPortNameList(nullptr);
    QCOMPARE(output.openOutputPort(destination), MIDI_RESULT_SUCCESS);
    const std::vector<Bytes> messages = traffic();
    QVERIFY(transmitAll(output, messages));
    const Bytes expected = joined(messages);
    QVERIFY(peer.waitForBytes(expected.size()));
    QCOMPARE(peer.received(), expected);
}

template <typename Peer>
void vanishingPeerLeavesNotConnected(Peer& peer, MidiInputPort& input, MidiOutputPort& output,
                                     const QString& source, const QString& destination)
{
    input.getInputPortNameList(nullptr);
    output.getOutputPortNameList(nullptr);
    QCOMPARE(input.openInputPort(source), MIDI_RESULT_SUCCESS);
    QCOMPARE(output.openOutputPort(destination), MIDI_RESULT_SUCCESS);
    peer.close();
    const Bytes note{0x90, 0x40, 0x40};
    unsigned int stamp = 0;
    QTRY_COMPARE(output.transmitMidi(note.data(), 3, stamp, 0), MIDI_RESULT_ERROR);
    QVERIFY(!output.getOutputPortNameList(nullptr).contains(destination));
    QVERIFY(!input.getInputPortNameList(nullptr).contains(source));
    QString name;
    output.getCurrentPortName(name);
    QCOMPARE(name, QString("Not Connected"));
    input.getCurrentPortName(name);
    QCOMPARE(name, QString("Not Connected"));
    QCOMPARE(input.openInputPort(source), MIDI_RESULT_ERROR);  // a name that matches nothing
}

}  // namespace port_traffic
