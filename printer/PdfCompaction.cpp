#include "printer/PdfCompaction.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace {

std::uint32_t Get32(std::string_view s, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 8 |
           static_cast<unsigned char>(s[at + 3]);
}

std::uint16_t Get16(std::string_view s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) << 8 |
                                      static_cast<unsigned char>(s[at + 1]));
}

void Put32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

void Append16(std::string& s, std::uint16_t v) {
    s += static_cast<char>(v >> 8);
    s += static_cast<char>(v);
}

void Append32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>(v >> (24 - 8 * i));
}

// The sum of the big-endian 32-bit words of `s`, zero-padded.
std::uint32_t Checksum(std::string_view s) {
    std::uint32_t sum = 0;
    std::string padded(s);
    padded.resize((padded.size() + 3) / 4 * 4, '\0');
    for (std::size_t i = 0; i < padded.size(); i += 4)
        sum += Get32(padded, i);
    return sum;
}

std::optional<std::string> Inflate(std::string_view in) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return std::nullopt;
    std::string out;
    char buf[16384];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buf);
        z.avail_out = sizeof buf;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buf, sizeof buf - z.avail_out);
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END) return std::nullopt;
    return out;
}

std::string Deflate(std::string_view in) {
    uLongf size = compressBound(static_cast<uLong>(in.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(in.data()),
                  static_cast<uLong>(in.size()), Z_BEST_COMPRESSION) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

// One "N 0 obj ... endobj" of the file.
struct Object {
    int number = 0;
    std::size_t offset = 0;
    std::string text;
};

// The value of `key` in a dictionary's text ("/Length 12", "/Length 19 0 R"), from the key to the next
// key or the end of the dictionary.
std::optional<std::pair<std::size_t, std::size_t>> FindKey(std::string_view dict, std::string_view key) {
    std::size_t at = 0;
    while ((at = dict.find(key, at)) != std::string_view::npos) {
        std::size_t end = at + key.size();
        if (end < dict.size() && (std::isalnum(static_cast<unsigned char>(dict[end])))) { // "/Length1"
            at = end;
            continue;
        }
        std::size_t stop = dict.find_first_of("/>", end);
        return std::make_pair(at, stop == std::string_view::npos ? dict.size() : stop);
    }
    return std::nullopt;
}

void SetKey(std::string& dict, std::string_view key, const std::string& value) {
    std::string entry = std::string(key) + " " + value + "\n";
    if (auto range = FindKey(dict, key))
        dict.replace(range->first, range->second - range->first, entry);
    else
        dict.insert(dict.rfind(">>"), entry);
}

// The object with its stream made smaller where it can be; nullopt to keep it as it is. `integer`
// gives the value of an object that holds a number (a stream's length written after it).
std::optional<std::string> Compacted(const std::string& text,
                                     const std::function<std::optional<long>(int)>& integer) {
    const std::size_t open = text.find("<<");
    const std::size_t stream = text.find("stream", open);
    if (open == std::string::npos || stream == std::string::npos) return std::nullopt;
    std::size_t data = stream + 6;
    if (text.compare(data, 2, "\r\n") == 0)
        data += 2;
    else if (data < text.size() && text[data] == '\n')
        ++data;
    else
        return std::nullopt;
    std::string dict = text.substr(0, stream);
    const auto lengthKey = FindKey(dict, "/Length");
    if (!lengthKey) return std::nullopt;
    long length = -1;
    int ref = 0, generation = 0;
    char r = 0;
    const std::string value = dict.substr(lengthKey->first + 7, lengthKey->second - lengthKey->first - 7);
    if (std::sscanf(value.c_str(), "%d %d %c", &ref, &generation, &r) == 3 && r == 'R') {
        length = integer(ref).value_or(-1);
    } else if (std::sscanf(value.c_str(), "%ld", &length) != 1) {
        return std::nullopt;
    }
    if (length < 0 || data + static_cast<std::size_t>(length) > text.size()) return std::nullopt;
    std::string_view body(text.data() + data, static_cast<std::size_t>(length));
    if (text.find("endstream", data + static_cast<std::size_t>(length)) == std::string::npos)
        return std::nullopt;

    const bool flate = FindKey(dict, "/Filter").has_value();
    if (flate && dict.find("/FlateDecode") == std::string::npos) return std::nullopt; // another filter
    if (FindKey(dict, "/DecodeParms")) return std::nullopt;
    std::string plain;
    if (flate) {
        std::optional<std::string> inflated = Inflate(body);
        if (!inflated) return std::nullopt;
        plain = std::move(*inflated);
    } else {
        plain = std::string(body);
    }
    if (FindKey(dict, "/Length1")) {
        plain = WithoutNameTable(plain);
        SetKey(dict, "/Length1", std::to_string(plain.size()));
    }
    std::string packed = Deflate(plain);
    if (packed.empty() || (!flate && packed.size() >= plain.size())) return std::nullopt;
    if (flate && packed.size() >= body.size() && !FindKey(dict, "/Length1")) return std::nullopt;
    SetKey(dict, "/Length", std::to_string(packed.size()));
    if (!flate) SetKey(dict, "/Filter", "/FlateDecode");
    // "stream" keeps the end-of-line the dictionary text ended with.
    return dict + "stream\n" + packed + "\nendstream\nendobj\n";
}

} // namespace

std::string WithoutNameTable(std::string_view font) {
    if (font.size() < 12) return std::string(font);
    const std::uint32_t version = Get32(font, 0);
    if (version != 0x00010000 && version != 0x74727565) return std::string(font); // TrueType only
    const std::uint16_t count = Get16(font, 4);
    if (font.size() < 12 + 16u * count) return std::string(font);
    struct Table {
        std::uint32_t tag, checksum, offset, length;
    };
    std::vector<Table> tables;
    bool hasName = false;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::size_t at = 12 + 16u * i;
        Table t{Get32(font, at), Get32(font, at + 4), Get32(font, at + 8), Get32(font, at + 12)};
        if (t.offset > font.size() || t.length > font.size() - t.offset) return std::string(font);
        if (t.tag == 0x6E616D65) { // 'name'
            hasName = true;
            continue;
        }
        tables.push_back(t);
    }
    if (!hasName) return std::string(font);

    const auto n = static_cast<std::uint16_t>(tables.size());
    std::uint16_t power = 1, log2 = 0;
    while (power * 2 <= n) {
        power = static_cast<std::uint16_t>(power * 2);
        ++log2;
    }
    std::string out;
    Append32(out, version);
    Append16(out, n);
    Append16(out, static_cast<std::uint16_t>(power * 16));
    Append16(out, log2);
    Append16(out, static_cast<std::uint16_t>(n * 16 - power * 16));
    std::size_t offset = 12 + 16u * n;
    std::size_t headAt = std::string::npos;
    for (const Table& t : tables) {
        Append32(out, t.tag);
        Append32(out, t.checksum);
        Append32(out, static_cast<std::uint32_t>(offset));
        Append32(out, t.length);
        if (t.tag == 0x68656164) headAt = offset; // 'head'
        offset += (t.length + 3) / 4 * 4;
    }
    for (const Table& t : tables) {
        out.append(font.substr(t.offset, t.length));
        out.resize((out.size() + 3) / 4 * 4, '\0');
    }
    if (headAt != std::string::npos && headAt + 12 <= out.size()) {
        Put32(out, headAt + 8, 0);
        Put32(out, headAt + 8, 0xB1B0AFBAu - Checksum(out));
    }
    return out;
}

std::string CompactPdf(std::string_view pdf) {
    const std::string original(pdf);
    const std::size_t startxref = pdf.rfind("startxref");
    if (pdf.substr(0, 5) != "%PDF-" || startxref == std::string_view::npos) return original;
    const std::size_t xref = static_cast<std::size_t>(std::atoll(original.c_str() + startxref + 9));
    if (xref >= pdf.size() || pdf.substr(xref, 4) != "xref") return original;

    // The classic table: "xref", subsections "first count" with 20-byte entries, then "trailer".
    std::map<std::size_t, int> numberAt; // offset -> object number
    std::size_t at = pdf.find('\n', xref) + 1;
    while (at < pdf.size() && pdf.substr(at, 7) != "trailer") {
        int first = 0, count = 0;
        if (std::sscanf(original.c_str() + at, "%d %d", &first, &count) != 2 || count < 0) return original;
        at = pdf.find('\n', at) + 1;
        for (int i = 0; i < count; ++i, at += 20) {
            if (at + 20 > pdf.size()) return original;
            const std::string entry(pdf.substr(at, 18));
            if (entry[17] == 'n') {
                if (entry.substr(11, 5) != "00000") return original; // generations other than 0
                numberAt[static_cast<std::size_t>(std::atoll(entry.c_str()))] = first + i;
            }
        }
    }
    const std::size_t trailer = at;
    if (numberAt.empty() || trailer >= pdf.size()) return original;

    std::vector<Object> objects;
    for (auto it = numberAt.begin(); it != numberAt.end(); ++it) {
        const std::size_t end = std::next(it) == numberAt.end() ? xref : std::next(it)->first;
        if (it->first >= end) return original;
        objects.push_back({it->second, it->first, original.substr(it->first, end - it->first)});
        const std::string head = std::to_string(it->second) + " 0 obj";
        if (objects.back().text.compare(0, head.size(), head) != 0) return original;
    }

    std::map<int, const std::string*> byNumber;
    for (const Object& o : objects)
        byNumber[o.number] = &o.text;
    auto integer = [&](int number) -> std::optional<long> {
        auto it = byNumber.find(number);
        long value = 0;
        if (it == byNumber.end() || std::sscanf(it->second->c_str(), "%*d %*d obj %ld", &value) != 1)
            return std::nullopt;
        return value;
    };

    // Streams stay objects of their own; every other object goes, compressed, into one object stream,
    // and the cross-reference table becomes a compressed stream too (PDF 1.5).
    std::string out = original.substr(0, objects.front().offset);
    if (out.compare(0, 8, "%PDF-1.0") >= 0 && out.compare(0, 8, "%PDF-1.5") < 0) out[7] = '5';
    struct Entry {
        int type = 0; // 0 free, 1 at an offset, 2 in the object stream
        std::size_t field = 0, index = 0;
    };
    std::map<int, Entry> entries;
    std::string index, bodies;
    int packed = 0;
    for (const Object& o : objects) {
        const std::size_t open = o.text.find("obj") + 3;
        const std::size_t close = o.text.rfind("endobj");
        if (o.text.find("stream") != std::string::npos || close == std::string::npos || close < open) {
            entries[o.number] = {1, out.size(), 0};
            std::optional<std::string> smaller = Compacted(o.text, integer);
            out += smaller ? *smaller : o.text;
            continue;
        }
        std::string_view body(o.text.data() + open, close - open);
        while (!body.empty() && std::isspace(static_cast<unsigned char>(body.front())))
            body.remove_prefix(1);
        while (!body.empty() && std::isspace(static_cast<unsigned char>(body.back())))
            body.remove_suffix(1);
        index += std::to_string(o.number) + " " + std::to_string(bodies.size()) + " ";
        bodies += std::string(body) + "\n";
        entries[o.number] = {2, 0, static_cast<std::size_t>(packed++)};
    }
    const int streamNumber = entries.rbegin()->first + 1;
    const int xrefNumber = streamNumber + 1;
    if (packed > 0) {
        const std::string data = Deflate(index + "\n" + bodies);
        if (data.empty()) return original;
        entries[streamNumber] = {1, out.size(), 0};
        out += std::to_string(streamNumber) + " 0 obj\n<< /Type /ObjStm /N " + std::to_string(packed) +
               " /First " + std::to_string(index.size() + 1) + " /Filter /FlateDecode /Length " +
               std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream\nendobj\n";
        for (auto& [number, e] : entries) {
            if (e.type == 2) e.field = static_cast<std::size_t>(streamNumber);
        }
    }
    const std::size_t xrefAt = out.size();
    entries[xrefNumber] = {1, xrefAt, 0};
    // Entries of 1 + 4 + 2 bytes: type, offset or object stream, generation or index.
    std::string table;
    for (int n = 0; n <= xrefNumber; ++n) {
        auto it = entries.find(n);
        const Entry e = it == entries.end() ? Entry{0, 0, n == 0 ? 65535u : 0u} : it->second;
        table += static_cast<char>(e.type);
        for (int shift = 24; shift >= 0; shift -= 8)
            table += static_cast<char>(e.field >> shift);
        table += static_cast<char>(e.index >> 8);
        table += static_cast<char>(e.index);
    }
    const std::string xrefData = Deflate(table);
    if (xrefData.empty()) return original;
    // The trailer's entries (Root, Info, ID) but its size, which the stream states afresh.
    std::string trailerDict = original.substr(trailer, pdf.find("startxref", trailer) - trailer);
    const std::size_t dictOpen = trailerDict.find("<<"), dictClose = trailerDict.rfind(">>");
    if (dictOpen == std::string::npos || dictClose == std::string::npos || dictClose < dictOpen)
        return original;
    trailerDict = trailerDict.substr(dictOpen + 2, dictClose - dictOpen - 2);
    if (auto size = FindKey(trailerDict, "/Size")) trailerDict.erase(size->first, size->second - size->first);
    if (FindKey(trailerDict, "/Prev") || FindKey(trailerDict, "/Encrypt")) return original;
    out += std::to_string(xrefNumber) + " 0 obj\n<< /Type /XRef /Size " + std::to_string(xrefNumber + 1) +
           " /W [1 4 2] " + trailerDict + " /Filter /FlateDecode /Length " + std::to_string(xrefData.size()) +
           " >>\nstream\n" + xrefData + "\nendstream\nendobj\n";
    out += "startxref\n" + std::to_string(xrefAt) + "\n%%EOF\n";
    return out;
}
