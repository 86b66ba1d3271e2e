#include "CiMessages.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>

#include "CiDecoder.h"
#include "MidiMonitorLine.h"

namespace CiMessages {

namespace {

constexpr int Version = 2;
constexpr uint32_t LargestReceived = 1 << 20;  // what the monitors keep of one message

QByteArray sevenBit(uint32_t value, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; i++) {
        bytes += static_cast<char>(value >> (7 * i) & 0x7F);
    }
    return bytes;
}

QByteArray message(int subId, uint32_t source, const QByteArray& payload)
{
    QByteArray bytes = QByteArray::fromHex("F07E7F0D");
    bytes += static_cast<char>(subId);
    bytes += static_cast<char>(Version);
    return bytes + sevenBit(source, 4) + sevenBit(CiDecoder::Broadcast, 4) + payload + static_cast<char>(0xF7);
}

// This program's version ("1.6.0") as the four bytes of a software revision.
QByteArray softwareRevision()
{
    QByteArray revision(4, '\0');
    const QStringList parts = QCoreApplication::applicationVersion().split(QLatin1Char('.'));
    for (int i = 0; i < std::min(4, static_cast<int>(parts.size())); i++) {
        revision[i] = static_cast<char>(parts.at(i).toInt() & 0x7F);
    }
    return revision;
}

}  // namespace

uint32_t sessionMuid()
{
    static const uint32_t muid = QRandomGenerator::global()->bounded(0x0FFFFF00u);
    return muid;
}

QByteArray discovery(uint32_t source)
{
    // Maker 7D (non-commercial), family and model 0; categories: profiles
    // and properties; what the monitors keep; output path 0.
    const QByteArray payload = QByteArray::fromHex("7D0000") + sevenBit(0, 2) + sevenBit(0, 2) + softwareRevision() +
                               QByteArray::fromHex("0C") + sevenBit(LargestReceived, 4) + QByteArray(1, '\0');
    return message(0x70, source, payload);
}

QByteArray endpointInquiry(uint32_t source)
{
    return message(0x72, source, QByteArray(1, '\0'));  // status 0: the product instance ID
}

QByteArray profileInquiry(uint32_t source)
{
    return message(0x20, source, QByteArray());
}

QByteArray propertyGet(uint32_t source, int requestId, const QByteArray& resource)
{
    const QByteArray header = "{\"resource\":\"" + resource + "\"}";
    QByteArray payload(1, static_cast<char>(requestId & 0x7F));
    payload += sevenBit(static_cast<uint32_t>(header.size()), 2) + header + sevenBit(1, 2) + sevenBit(1, 2) +
               sevenBit(0, 2);
    return message(0x34, source, payload);
}

QString text(const QByteArray& message)
{
    QByteArray text;
    MidiMonitorLine::appendSystemExclusiveText(text, reinterpret_cast<const unsigned char*>(message.constData()),
                                               static_cast<uint32_t>(message.size()));
    return QString::fromLatin1(text.mid(1)) + QLatin1Char('\n');
}

}  // namespace CiMessages
