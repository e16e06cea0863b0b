// qlcat CATALOG FILE...: writes the driver package's catalog, an unsigned PKCS #7 SignedData
// whose content is a certificate trust list with one member per file: the member's digest
// (MD5 of the whole file, the one digest this project carries) and its file name. The list
// has a fixed time and identifier, so the same files always give the same catalog. It is a
// well-formed catalog for a development build; signing it is a release step.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "package/md5.h"

namespace {

using Bytes = std::string;

Bytes tlv(unsigned char tag, const Bytes& content) {
    Bytes out(1, char(tag));
    size_t length = content.size();
    if (length < 0x80) {
        out += char(length);
    } else {
        Bytes digits;
        for (; length; length >>= 8) digits.insert(digits.begin(), char(length & 0xFF));
        out += char(0x80 | digits.size());
        out += digits;
    }
    return out + content;
}
Bytes sequence(const Bytes& content) { return tlv(0x30, content); }
Bytes set(const Bytes& content) { return tlv(0x31, content); }
Bytes octets(const Bytes& content) { return tlv(0x04, content); }
Bytes explicit0(const Bytes& content) { return tlv(0xA0, content); }

Bytes oid(const char* dotted) {
    unsigned long parts[16] = {};
    int count = 0;
    for (char* next = const_cast<char*>(dotted); *next && count < 16; ++count) {
        parts[count] = strtoul(next, &next, 10);
        if (*next == '.') ++next;
    }
    Bytes body(1, char(parts[0] * 40 + parts[1]));
    for (int i = 2; i < count; ++i) {
        Bytes digits(1, char(parts[i] & 0x7F));
        for (unsigned long rest = parts[i] >> 7; rest; rest >>= 7)
            digits.insert(digits.begin(), char(0x80 | (rest & 0x7F)));
        body += digits;
    }
    return tlv(0x06, body);
}

// UTF-16 of ASCII text: little-endian as Windows stores it, or big-endian as BMPString is.
Bytes wide(const std::string& text, bool bigEndian = false) {
    Bytes out;
    for (char c : text) out += bigEndian ? Bytes{0, c} : Bytes{c, 0};
    return out;
}

// One member: its digest as the subject identifier (UTF-16 hex, as catalogs name members),
// the indirect data that carries the digest, and its file name.
Bytes member(const std::string& name, const Bytes& content) {
    unsigned char digest[16];
    md5(content.data(), content.size(), digest);
    std::string hex;
    for (unsigned char byte : digest) {
        char two[3];
        snprintf(two, sizeof two, "%02X", byte);
        hex += two;
    }
    Bytes algorithm = sequence(oid("1.2.840.113549.2.5") + tlv(0x05, ""));
    Bytes indirect = sequence(sequence(oid("1.3.6.1.4.1.311.2.1.25")) +
                              sequence(algorithm + octets(Bytes((char*)digest, 16))));
    Bytes fileName = sequence(tlv(0x1E, wide("File", true)) + tlv(0x02, Bytes(1, 0x10)) +
                              octets(wide(name) + Bytes(2, 0)));
    Bytes attributes = sequence(oid("1.3.6.1.4.1.311.2.1.4") + set(indirect)) +
                       sequence(oid("1.3.6.1.4.1.311.12.2.1") + set(fileName));
    return sequence(octets(wide(hex) + Bytes(2, 0)) + set(attributes));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: qlcat CATALOG FILE...\n");
        return 2;
    }
    Bytes members;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            fprintf(stderr, "qlcat: cannot read %s\n", argv[i]);
            return 1;
        }
        std::string path = argv[i];
        members += member(path.substr(path.find_last_of("/\\") + 1),
                          Bytes(std::istreambuf_iterator<char>(in), {}));
    }
    Bytes trustList =
        sequence(sequence(oid("1.3.6.1.4.1.311.12.1.1")) + octets("QLOrvaloVAIO1029") +
                 tlv(0x17, "240514000000Z") +
                 sequence(oid("1.3.6.1.4.1.311.12.1.2") + tlv(0x05, "")) + sequence(members));
    Bytes signedData =
        sequence(tlv(0x02, Bytes(1, 1)) + set("") +
                 sequence(oid("1.3.6.1.4.1.311.10.1") + explicit0(trustList)) + set(""));
    Bytes catalog = sequence(oid("1.2.840.113549.1.7.2") + explicit0(signedData));
    std::ofstream out(argv[1], std::ios::binary);
    out.write(catalog.data(), std::streamsize(catalog.size()));
    return out ? 0 : 1;
}
