// The slip PDF made smaller: fonts without their naming tables, everything compressed, the same
// objects readable through the new cross-reference stream.
#include "printer/PdfCompaction.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::uint32_t Read32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = v << 8 | static_cast<unsigned char>(s[at + i]);
    return v;
}

// A TrueType font of the given tables (tag, contents), laid out as the format wants.
std::string Font(const std::vector<std::pair<std::string, std::string>>& tables) {
    std::string dir =
        Be32(0x00010000) + std::string{0, static_cast<char>(tables.size())} + std::string(6, '\0');
    std::string data;
    const std::size_t start = 12 + 16 * tables.size();
    for (const auto& [tag, contents] : tables) {
        dir += tag + Be32(0) + Be32(static_cast<std::uint32_t>(start + data.size())) +
               Be32(static_cast<std::uint32_t>(contents.size()));
        data += contents;
        data.resize((data.size() + 3) / 4 * 4, '\0');
    }
    return dir + data;
}

std::map<std::string, std::string> Tables(const std::string& font) {
    std::map<std::string, std::string> tables;
    const int count = static_cast<unsigned char>(font[4]) << 8 | static_cast<unsigned char>(font[5]);
    for (int i = 0; i < count; ++i) {
        const std::size_t at = 12 + 16 * i;
        tables[font.substr(at, 4)] = font.substr(Read32(font, at + 8), Read32(font, at + 12));
    }
    return tables;
}

std::string Inflate(const std::string& in) {
    std::string out(1 << 20, '\0');
    uLongf size = out.size();
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(in.data()),
                   in.size()) != Z_OK)
        return "<not deflated>";
    out.resize(size);
    return out;
}

std::string Deflate(const std::string& in) {
    uLongf size = compressBound(in.size());
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(in.data()),
             in.size());
    out.resize(size);
    return out;
}

// A document as the toolkit lays one out: numbered objects, a classic table, a trailer.
std::string Pdf(const std::vector<std::string>& objects) {
    std::string pdf = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    char entry[32];
    for (std::size_t o : offsets) {
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", o);
        pdf += entry;
    }
    return pdf + "trailer\n<<\n/Size " + std::to_string(objects.size() + 1) +
           "\n/Root 1 0 R\n>>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
}

std::string Stream(const std::string& dict, const std::string& data) {
    return "<<\n" + dict + "\n>>\nstream\n" + data + "\nendstream";
}

// The objects of a compacted document, read back through its cross-reference stream: each number with
// its text, from its offset or from the object stream.
std::map<int, std::string> ReadBack(const std::string& pdf) {
    std::map<int, std::string> objects;
    const std::size_t xrefAt = std::stoul(pdf.substr(pdf.rfind("startxref") + 10));
    auto streamOf = [&](std::size_t at) {
        const std::size_t dict = pdf.find("<<", at), data = pdf.find("stream\n", at) + 7;
        const std::size_t length = std::stoul(pdf.substr(pdf.find("/Length ", dict) + 8));
        return Inflate(pdf.substr(data, length));
    };
    const std::string table = streamOf(xrefAt);
    std::map<int, std::string> streams;
    for (std::size_t n = 0; n * 7 < table.size(); ++n) {
        const int type = table[n * 7];
        const std::uint32_t field = Read32(table, n * 7 + 1);
        if (type == 1) objects[static_cast<int>(n)] = pdf.substr(field, pdf.find("endobj", field) - field);
        if (type == 2) {
            if (!streams.count(static_cast<int>(field))) {
                std::size_t at = pdf.find(std::to_string(field) + " 0 obj");
                const std::string text = streamOf(at);
                const std::size_t first = std::stoul(pdf.substr(pdf.find("/First ", at) + 7));
                streams[static_cast<int>(field)] = text;
                std::size_t pos = 0;
                while (pos < first) {
                    std::size_t number = 0, offset = 0;
                    int used = 0;
                    if (std::sscanf(text.c_str() + pos, "%zu %zu %n", &number, &offset, &used) != 2) break;
                    pos += static_cast<std::size_t>(used);
                    const std::size_t next = text.find('\n', first + offset);
                    objects[static_cast<int>(number)] = text.substr(first + offset, next - first - offset);
                }
            }
        }
    }
    return objects;
}

TEST(PdfCompaction, FontLosesItsNamingTableAndKeepsEverythingElse) {
    const std::string font =
        Font({{"glyf", "outline data"}, {"head", std::string(54, '\x01')}, {"name", "licence text"}});
    const std::string lean = WithoutNameTable(font);
    auto tables = Tables(lean);
    EXPECT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables["glyf"], "outline data");
    EXPECT_EQ(tables["head"].substr(12), std::string(42, '\x01'));
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < lean.size(); i += 4)
        sum += Read32(lean, i);
    EXPECT_EQ(sum, 0xB1B0AFBAu) << "whole-font checksum";
}

TEST(PdfCompaction, FontsWithoutANamingTableOrNotTrueTypeStayAsTheyAre) {
    const std::string plain = Font({{"glyf", "x"}, {"head", std::string(54, '\0')}});
    EXPECT_EQ(WithoutNameTable(plain), plain);
    std::string cff = Font({{"CFF ", "x"}, {"name", "n"}});
    cff.replace(0, 4, "OTTO");
    EXPECT_EQ(WithoutNameTable(cff), cff);
    EXPECT_EQ(WithoutNameTable("short"), "short");
}

TEST(PdfCompaction, StreamsAreCompressedAndObjectsStayWhereTheTableSays) {
    const std::string font = Font(
        {{"glyf", std::string(200, 'g')}, {"head", std::string(54, '\0')}, {"name", std::string(3000, 'L')}});
    const std::string cmap = "begincmap " + std::string(400, 'c') + " endcmap";
    const std::string pdf =
        Pdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [] /Count 0 >>",
             Stream("/Length1 " + std::to_string(font.size()) + " /Length 4 0 R /Filter /FlateDecode",
                    Deflate(font)),
             std::to_string(Deflate(font).size()), Stream("/Length " + std::to_string(cmap.size()), cmap)});
    const std::string lean = CompactPdf(pdf);
    ASSERT_NE(lean, pdf);
    EXPECT_LT(lean.size(), pdf.size());
    EXPECT_EQ(lean.substr(0, 8), "%PDF-1.5");
    std::map<int, std::string> objects = ReadBack(lean);
    ASSERT_EQ(objects.size(), 7u); // the five, the object stream, the cross-reference stream
    EXPECT_EQ(objects[1], "<< /Type /Catalog /Pages 2 0 R >>");
    EXPECT_EQ(objects[4], std::to_string(Deflate(font).size()));
    for (int n : {3, 5})
        EXPECT_EQ(objects[n].substr(0, std::to_string(n).size() + 6), std::to_string(n) + " 0 obj") << n;
    auto data = [&](int n) {
        const std::string& o = objects[n];
        const std::size_t length = std::stoul(o.substr(o.find("/Length ") + 8));
        return Inflate(o.substr(o.find("stream\n") + 7, length));
    };
    EXPECT_EQ(data(3), WithoutNameTable(font));
    EXPECT_NE(objects[3].find("/Length1 " + std::to_string(WithoutNameTable(font).size())),
              std::string::npos);
    EXPECT_EQ(data(5), cmap);
    EXPECT_NE(objects[5].find("/FlateDecode"), std::string::npos);
}

TEST(PdfCompaction, DocumentsLaidOutOtherwiseStayAsTheyAre) {
    const std::string good = Pdf({"<< /Type /Catalog >>"});
    std::string wrongOffset = good;
    wrongOffset.replace(wrongOffset.find("0000000015"), 10, "0000000016");
    std::string generation = good;
    generation.replace(generation.find("00000 n"), 5, "00001");
    for (const std::string& pdf :
         {std::string("not a pdf"), good.substr(0, good.find("xref")), wrongOffset, generation})
        EXPECT_EQ(CompactPdf(pdf), pdf);
}

} // namespace
