#include "AlsaEventDecoder.h"

namespace {

unsigned char data7(int value)
{
    return static_cast<unsigned char>(value & 0x7F);
}

void put(std::vector<unsigned char>& out, std::initializer_list<unsigned char> bytes)
{
    out.insert(out.end(), bytes);
}

// A 14-bit controller, or a registered or non-registered parameter, as the
// control changes a MIDI cable carries.
void parameterControls(const snd_seq_ev_ctrl_t& control, unsigned char status,
                       unsigned char numberMsb, std::vector<unsigned char>& out)
{
    const unsigned int parameter = control.param;
    put(out, {status, numberMsb, data7(static_cast<int>(parameter >> 7)), status,
              static_cast<unsigned char>(numberMsb - 1), data7(static_cast<int>(parameter)),
              status, 0x06, data7(control.value >> 7), status, 0x26, data7(control.value)});
}

}  // namespace

size_t AlsaEventDecoder::decode(const snd_seq_event_t& event, std::vector<unsigned char>& out)
{
    const size_t before = out.size();
    const unsigned char channel = event.data.note.channel & 0x0F;
    const snd_seq_ev_ctrl_t& control = event.data.control;
    const unsigned char controlChannel = control.channel & 0x0F;
    switch (event.type) {
    case SND_SEQ_EVENT_NOTEOFF:
        put(out, {static_cast<unsigned char>(0x80 | channel), data7(event.data.note.note),
                  data7(event.data.note.velocity)});
        break;
    case SND_SEQ_EVENT_NOTEON:
        put(out, {static_cast<unsigned char>(0x90 | channel), data7(event.data.note.note),
                  data7(event.data.note.velocity)});
        break;
    case SND_SEQ_EVENT_KEYPRESS:
        put(out, {static_cast<unsigned char>(0xA0 | channel), data7(event.data.note.note),
                  data7(event.data.note.velocity)});
        break;
    case SND_SEQ_EVENT_CONTROLLER:
        put(out, {static_cast<unsigned char>(0xB0 | controlChannel),
                  data7(static_cast<int>(control.param)), data7(control.value)});
        break;
    case SND_SEQ_EVENT_PGMCHANGE:
        put(out, {static_cast<unsigned char>(0xC0 | controlChannel), data7(control.value)});
        break;
    case SND_SEQ_EVENT_CHANPRESS:
        put(out, {static_cast<unsigned char>(0xD0 | controlChannel), data7(control.value)});
        break;
    case SND_SEQ_EVENT_PITCHBEND: {
        const int value = control.value + 8192;
        put(out, {static_cast<unsigned char>(0xE0 | controlChannel), data7(value),
                  data7(value >> 7)});
        break;
    }
    case SND_SEQ_EVENT_CONTROL14: {
        const unsigned char status = static_cast<unsigned char>(0xB0 | controlChannel);
        const int number = static_cast<int>(control.param);
        if (number < 32) {
            put(out, {status, data7(number), data7(control.value >> 7), status,
                      data7(number + 32), data7(control.value)});
        } else {
            put(out, {status, data7(number), data7(control.value)});
        }
        break;
    }
    case SND_SEQ_EVENT_NONREGPARAM:
        parameterControls(control, static_cast<unsigned char>(0xB0 | controlChannel), 0x63, out);
        break;
    case SND_SEQ_EVENT_REGPARAM:
        parameterControls(control, static_cast<unsigned char>(0xB0 | controlChannel), 0x65, out);
        break;
    case SND_SEQ_EVENT_QFRAME:
        put(out, {0xF1, data7(control.value)});
        break;
    case SND_SEQ_EVENT_SONGPOS:
        put(out, {0xF2, data7(control.value), data7(control.value >> 7)});
        break;
    case SND_SEQ_EVENT_SONGSEL:
        put(out, {0xF3, data7(control.value)});
        break;
    case SND_SEQ_EVENT_TUNE_REQUEST:
        put(out, {0xF6});
        break;
    case SND_SEQ_EVENT_CLOCK:
        put(out, {0xF8});
        break;
    case SND_SEQ_EVENT_START:
        put(out, {0xFA});
        break;
    case SND_SEQ_EVENT_CONTINUE:
        put(out, {0xFB});
        break;
    case SND_SEQ_EVENT_STOP:
        put(out, {0xFC});
        break;
    case SND_SEQ_EVENT_SENSING:
        put(out, {0xFE});
        break;
    case SND_SEQ_EVENT_RESET:
        put(out, {0xFF});
        break;
    case SND_SEQ_EVENT_SYSEX: {
        const auto* bytes = static_cast<const unsigned char*>(event.data.ext.ptr);
        out.insert(out.end(), bytes, bytes + event.data.ext.len);
        break;
    }
    default:
        break;
    }
    return out.size() - before;
}
