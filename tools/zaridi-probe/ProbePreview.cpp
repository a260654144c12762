// preview: the slip as the preview shows it, written as a PNG of the whole paper, one pixel per dot.
#include "Probe.h"

#include "platform/Conversions.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/RuntimeErrors.h"
#include "print/SlipLayout.h"
#include "print/qt/SlipImage.h"

#include <QBuffer>
#include <QGuiApplication>

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace probe {
namespace {

using nlohmann::json;

const char* const kUsage =
    "preview --out FILE.png [--outlines] < {\"fields\": {...}, \"paper\": [W, H], \"origin\": [X, Y]}";

// A pair of numbers in points: [x, y].
std::pair<double, double> PointPair(const json& input, const char* name,
                                    std::optional<std::pair<double, double>> def) {
    auto it = input.find(name);
    if (it == input.end() || it->is_null()) {
        if (def) return *def;
        throw std::runtime_error(std::string("preview: \"") + name + "\" is missing");
    }
    if (!it->is_array() || it->size() != 2 || !(*it)[0].is_number() || !(*it)[1].is_number())
        throw std::runtime_error(std::string("preview: \"") + name + "\" must be two numbers in points");
    return {(*it)[0].get<double>(), (*it)[1].get<double>()};
}

// The image canvas needs the toolkit's fonts, without a screen.
void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zaridi-probe";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int Preview(const Args& a) {
    std::string out;
    bool outlines = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == "--out" && i + 1 < a.size())
            out = a[++i];
        else if (a[i] == "--outlines")
            outlines = true;
        else
            throw UsageError{kUsage};
    }
    if (out.empty()) throw UsageError{kUsage};

    json input = json::parse(ReadStdin());
    const SlipInput fields = SlipFromJson(input.contains("fields") ? input["fields"] : json::object());
    const auto [width, length] = PointPair(input, "paper", std::nullopt);
    const auto [originX, originY] = PointPair(input, "origin", std::pair{0.0, 0.0});
    if (!(width > 0) || !(length > 0)) throw std::runtime_error("preview: the paper must have a size");

    QImage image;
    try {
        const std::vector<SlipDraw> draws =
            LayoutSlip(fields.captions, fields.slip); // the captions are checked here first
        PdfPageSetup page;
        page.width = width;
        page.length = length;
        page.originX = originX;
        page.originY = originY;
        page.resolutionX = StrToInt(fields.captions.dpix);
        page.resolutionY = StrToInt(fields.captions.dpiy);
        if (page.resolutionX <= 0 || page.resolutionY <= 0)
            throw EConvertError("the resolution must be above 0 dots per inch");
        EnsureGuiApplication();
        image = RenderSlipImage(page, PlacementOf(fields.captions), draws, outlines);
    } catch (const Exception& e) {
        std::cout << json{{"error", cp932::ToUtf8(e.Message())}}.dump() << "\n";
        return 0;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) throw std::runtime_error("preview: cannot encode the image");
    fileio::WriteFileAtomic(out, png.toStdString());
    const json result = {{"width", image.width()}, {"height", image.height()}};
    std::cout << result.dump() << "\n";
    return 0;
}

} // namespace probe
