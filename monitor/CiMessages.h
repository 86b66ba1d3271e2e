// The MIDI-CI inquiries the editor inserts, as message text: Discovery,
// Endpoint Inquiry, Profile Inquiry and Property Exchange Get, each
// version 2, from this session's MUID to the broadcast MUID, device ID 7F.
// Pure functions but sessionMuid (chosen at random once a process, thread-safe).
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace CiMessages {

// A random MUID outside the reserved ones (0FFFFF00-0FFFFFFF), the same
// for the whole session.
uint32_t sessionMuid();

QByteArray discovery(uint32_t source);
QByteArray endpointInquiry(uint32_t source);
QByteArray profileInquiry(uint32_t source);
// A Get of resource ("ResourceList", "DeviceInfo") with request ID 0-127.
QByteArray propertyGet(uint32_t source, int requestId, const QByteArray& resource);

// A message's bytes as the editor's text, ending with a line break.
QString text(const QByteArray& message);

}  // namespace CiMessages
