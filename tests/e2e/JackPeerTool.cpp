// A JACK client standing in for an instrument in the end-to-end tests,
// driven by lines on its standard input:
//   send-dump N     a system exclusive message of N bytes, then 50 note-ons
//   write FILE      what arrived so far: the bytes as hexadecimal text on
//                   the first line, then one line per message with its
//                   arrival time (microseconds) and size
//   quit
// "ostrel_e2e_peer --dump-text N" prints the dump of N bytes in the editor's
// text format (what a listening editor must show) and exits.
//   ostrel_e2e_peer NAME
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "JackPeer.h"

namespace {

std::vector<unsigned char> dump(size_t size)
{
    std::vector<unsigned char> bytes(size);
    for (size_t i = 1; i + 1 < size; i++) {
        bytes[i] = static_cast<unsigned char>((i * 7) & 0x7F);
    }
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

std::string hexText(const std::vector<unsigned char>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < bytes.size(); i++) {
        if (i > 0) {
            text += ' ';
        }
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

bool writeRecord(JackPeer& peer, const std::string& path)
{
    std::ofstream out(path);
    out << hexText(peer.received()) << '\n';
    for (const JackPeer::Arrival& arrival : peer.arrivals()) {
        out << arrival.time << ' ' << arrival.size << '\n';
    }
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--dump-text") {
        std::cout << hexText(dump(std::stoul(argv[2]))) << '\n';
        return 0;
    }
    if (argc != 2) {
        std::cerr << "usage: ostrel_e2e_peer NAME | --dump-text N\n";
        return 2;
    }
    JackPeer peer(argv[1]);
    if (!peer.isOpen()) {
        std::cerr << "no JACK server\n";
        return 1;
    }
    std::cout << "ready " << peer.name().toStdString() << std::endl;
    std::string command;
    while (std::cin >> command) {
        if (command == "send-dump") {
            size_t size = 0;
            std::cin >> size;
            peer.send(dump(size));
            for (int note = 0; note < 50; note++) {
                peer.send({0x90, static_cast<unsigned char>(0x30 + note % 24), 0x40});
            }
            std::cout << (peer.waitUntilSent() ? "sent" : "not sent") << std::endl;
        } else if (command == "write") {
            std::string path;
            std::cin >> path;
            std::cout << (writeRecord(peer, path) ? "written" : "write failed") << std::endl;
        } else if (command == "quit") {
            break;
        }
    }
    return 0;
}
