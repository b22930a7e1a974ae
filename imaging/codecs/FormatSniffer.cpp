#include "FormatSniffer.h"

#include <cstring>

namespace vestrel::codecs {

namespace {

bool StartsWith(Bytes file, std::initializer_list<std::uint8_t> signature) {
    if (file.size() < signature.size()) return false;
    return std::equal(signature.begin(), signature.end(), file.begin());
}

}  // namespace

int SniffFileType(Bytes file) {
    if (StartsWith(file, {'B', 'M'})) return kTypeBmp;
    if (StartsWith(file, {'G', 'I', 'F', '8'})) return kTypeGif;
    if (StartsWith(file, {0xFF, 0xD8, 0xFF})) return kTypeJpg;
    if (StartsWith(file, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return kTypePng;
    if (StartsWith(file, {'I', 'I', 42, 0}) || StartsWith(file, {'M', 'M', 0, 42})) return kTypeTif;
    if (StartsWith(file, {0, 0, 0, 0x0C, 'j', 'P', ' ', ' '})) return kTypeJp2;
    if (StartsWith(file, {0xFF, 0x4F, 0xFF, 0x51})) return kTypeJpc;
    if (StartsWith(file, {0x59, 0xA6, 0x6A, 0x95})) return kTypeRas;
    if (StartsWith(file, {'P', 'G', ' '})) return kTypePgx;
    if (file.size() >= 2 && file[0] == 'P' && file[1] >= '1' && file[1] <= '6') return kTypePnm;
    if (StartsWith(file, {0, 0, 1, 0})) return kTypeIco;
    if (file.size() >= 3 && file[0] == 0x0A && file[1] <= 5 && file[2] == 1) return kTypePcx;
    return kTypeUnknown;  // TGA and WBMP have no signature
}

}  // namespace vestrel::codecs
