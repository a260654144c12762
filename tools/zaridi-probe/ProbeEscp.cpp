// escp: the slip in text mode, exactly the bytes the printer would be sent. Errors go to stderr, so
// that standard output only ever holds a whole stream.
#include "Probe.h"

#include "escp/TextModeRenderer.h"
#include "escp/qt/QtGlyphSource.h"
#include "platform/Conversions.h"
#include "platform/Cp932Codec.h"
#include "print/PrintTarget.h"
#include "print/SlipLayout.h"

#include <iostream>
#include <nlohmann/json.hpp>

namespace probe {

int Escp(const Args& a) {
    if (!a.empty()) throw UsageError{"escp < {\"fields\": {...}, \"paper\": [W, H]}"};
    const nlohmann::json input = nlohmann::json::parse(ReadStdin());
    const SlipInput in = SlipFromJson(input.contains("fields") ? input["fields"] : nlohmann::json::object());
    const std::vector<SlipDraw> draws =
        LayoutSlip(in.captions, in.slip); // the captions are checked here first
    const int dpi = escp::kEscpKanji24.dpi;
    if (StrToInt(in.captions.dpix) != dpi || StrToInt(in.captions.dpiy) != dpi)
        throw std::runtime_error("escp: the text mode prints at " + std::to_string(dpi) + " x " +
                                 std::to_string(dpi) + " dpi, the fields give " +
                                 cp932::ToUtf8(in.captions.dpix) + " x " + cp932::ToUtf8(in.captions.dpiy));

    // The paper in points; without one, the continuous form.
    PageGeometry paper = NominalPaper(cp932::FromUtf8("連続(４インチ)"));
    if (auto it = input.find("paper"); it != input.end() && !it->is_null()) {
        if (!it->is_array() || it->size() != 2 || !(*it)[0].is_number() || !(*it)[1].is_number() ||
            !((*it)[0].get<double>() > 0) || !((*it)[1].get<double>() > 0))
            throw std::runtime_error("escp: \"paper\" must be two numbers in points above 0");
        paper.width = (*it)[0].get<double>();
        paper.length = (*it)[1].get<double>();
    }
    const escp::PageDots page = escp::PageDotsOf(paper);

    EnsureGuiApplication();
    QtGlyphSource glyphs;
    const escp::TextModeJob job = escp::RenderTextMode(draws, page, glyphs);
    std::cout.write(job.bytes.data(), static_cast<std::streamsize>(job.bytes.size()));
    return 0;
}

} // namespace probe
