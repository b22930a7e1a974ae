#include "PdfFile.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vestrel::pdf {

PdfFile::~PdfFile()
{
    close();
}

bool PdfFile::create(const std::filesystem::path& path)
{
    close();
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_)
        return false;
    good_ = true;
    offset_ = 0;
    offsets_.assign(1, 0);
    pending_.clear();
    lastXref_ = -1;
    // The second line marks the file as binary for transfer programs.
    put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    return good_;
}

void PdfFile::put(std::string_view text)
{
    put(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

void PdfFile::put(const std::uint8_t* data, std::size_t size)
{
    if (!file_ || size == 0)
        return;
    if (std::fwrite(data, 1, size, file_) != size)
        good_ = false;
    offset_ += size;
}

int PdfFile::reserve()
{
    offsets_.push_back(0);
    return int(offsets_.size()) - 1;
}

void PdfFile::beginObject(int number)
{
    if (number <= 0 || std::size_t(number) >= offsets_.size()) {
        good_ = false;
        return;
    }
    offsets_[std::size_t(number)] = offset_;
    if (std::find(pending_.begin(), pending_.end(), number) == pending_.end())
        pending_.push_back(number);
    put(std::to_string(number) + " 0 obj\n");
}

void PdfFile::writeObject(int number, std::string_view body)
{
    beginObject(number);
    put(body);
    put("\nendobj\n");
}

void PdfFile::writeStream(int number, std::string_view dictionary, const std::uint8_t* data,
                          std::size_t size)
{
    beginObject(number);
    put("<<" + std::string(dictionary) + " /Length " + std::to_string(size) + ">>\nstream\n");
    put(data, size);
    put("\nendstream\nendobj\n");
}

bool PdfFile::writeStreamFromFile(int number, std::string_view dictionary, std::FILE* source,
                                  std::uint64_t size)
{
    beginObject(number);
    put("<<" + std::string(dictionary) + " /Length " + std::to_string(size) + ">>\nstream\n");
    std::array<std::uint8_t, 1 << 16> buffer;
    std::uint64_t left = size;
    bool complete = true;
    while (left > 0) {
        const std::size_t want = std::size_t(std::min<std::uint64_t>(left, buffer.size()));
        const std::size_t got = std::fread(buffer.data(), 1, want, source);
        put(buffer.data(), got);
        left -= got;
        if (got != want) {
            // The source shrank under us: pad so /Length stays true, and report it.
            complete = false;
            std::fill(buffer.begin(), buffer.end(), 0);
            while (left > 0) {
                const std::size_t pad = std::size_t(std::min<std::uint64_t>(left, buffer.size()));
                put(buffer.data(), pad);
                left -= pad;
            }
        }
    }
    put("\nendstream\nendobj\n");
    return complete;
}

bool PdfFile::commit(std::string_view trailerExtra)
{
    if (!file_)
        return false;
    std::vector<int> numbers = pending_;
    std::sort(numbers.begin(), numbers.end());
    const std::uint64_t xrefOffset = offset_;
    std::string xref = "xref\n";
    if (lastXref_ < 0)
        xref += "0 1\n0000000000 65535 f \n";
    // One subsection per run of consecutive numbers.
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i + 1;
        while (j < numbers.size() && numbers[j] == numbers[j - 1] + 1)
            ++j;
        xref += std::to_string(numbers[i]) + " " + std::to_string(j - i) + "\n";
        for (std::size_t k = i; k < j; ++k) {
            char entry[24];
            std::snprintf(entry, sizeof entry, "%010llu 00000 n \n",
                          static_cast<unsigned long long>(offsets_[std::size_t(numbers[k])]));
            xref += entry;
        }
        i = j;
    }
    xref += "trailer\n<</Size " + std::to_string(offsets_.size()) + " " +
            std::string(trailerExtra);
    if (lastXref_ >= 0)
        xref += " /Prev " + std::to_string(lastXref_);
    xref += ">>\nstartxref\n" + std::to_string(xrefOffset) + "\n%%EOF\n";
    put(xref);
    lastXref_ = std::int64_t(xrefOffset);
    pending_.clear();
    if (std::fflush(file_) != 0)
        good_ = false;
    return good_;
}

bool PdfFile::close()
{
    if (!file_)
        return good_;
    if (std::fclose(file_) != 0)
        good_ = false;
    file_ = nullptr;
    return good_;
}

std::string pdfNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string result = text;
    result.erase(result.find_last_not_of('0') + 1);
    if (!result.empty() && result.back() == '.')
        result.pop_back();
    return result == "-0" ? "0" : result;
}

std::string pdfTextString(std::string_view utf8)
{
    const bool plain = std::all_of(utf8.begin(), utf8.end(), [](char c) {
        return c >= 0x20 && c < 0x7F && c != '(' && c != ')' && c != '\\';
    });
    if (plain) {
        std::string literal(1, '(');
        literal.append(utf8);
        literal.push_back(')');
        return literal;
    }
    std::string hex = "<FEFF";
    auto unit = [&hex](unsigned value) {
        char text[8];
        std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
        hex += text;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        unsigned code = 0xFFFD;
        std::size_t length = 1;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead >> 5) == 0x6) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead >> 4) == 0xE) {
            length = 3;
            code = lead & 0x0F;
        } else if ((lead >> 3) == 0x1E) {
            length = 4;
            code = lead & 0x07;
        }
        if (length > 1) {
            if (i + length > utf8.size()) {
                code = 0xFFFD;
                length = 1;
            } else {
                for (std::size_t k = 1; k < length; ++k)
                    code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            }
        }
        i += length;
        if (code >= 0x10000 && code <= 0x10FFFF) {
            code -= 0x10000;
            unit(0xD800 + (code >> 10));
            unit(0xDC00 + (code & 0x3FF));
        } else {
            unit(code);
        }
    }
    return hex + ">";
}

}  // namespace vestrel::pdf
