#pragma once
// The fields of the printer's device settings that the printer object reads, with the field bits.
#include <cstddef>
#include <cstdint>

constexpr std::uint32_t DM_ORIENTATION = 0x1;
constexpr std::uint32_t DM_PAPERSIZE = 0x2;
constexpr std::uint32_t DM_PAPERLENGTH = 0x4;
constexpr std::uint32_t DM_PAPERWIDTH = 0x8;
constexpr std::uint32_t DM_SCALE = 0x10;
constexpr std::uint32_t DM_COPIES = 0x100;
constexpr std::uint32_t DM_DEFAULTSOURCE = 0x200;
constexpr std::uint32_t DM_PRINTQUALITY = 0x400;
constexpr std::uint32_t DM_COLOR = 0x800;
constexpr std::uint32_t DM_DUPLEX = 0x1000;
constexpr std::uint32_t DM_YRESOLUTION = 0x2000;
constexpr std::uint32_t DM_TTOPTION = 0x4000;
constexpr std::uint32_t DM_COLLATE = 0x8000;
constexpr std::uint32_t DM_FORMNAME = 0x10000;
constexpr std::uint32_t DM_LOGPIXELS = 0x20000;
constexpr std::uint32_t DM_PANNINGWIDTH = 0x8000000;
constexpr std::uint32_t DM_PANNINGHEIGHT = 0x10000000;

// Paper-source numbers of the platform.
constexpr std::int16_t DMBIN_UPPER = 1;
constexpr std::int16_t DMBIN_LOWER = 2;
constexpr std::int16_t DMBIN_MIDDLE = 3;
constexpr std::int16_t DMBIN_MANUAL = 4;
constexpr std::int16_t DMBIN_ENVELOPE = 5;
constexpr std::int16_t DMBIN_AUTO = 7;
constexpr std::int16_t DMBIN_TRACTOR = 8;
constexpr std::int16_t DMBIN_LARGECAPACITY = 11;
constexpr std::int16_t DMBIN_CASSETTE = 14;
constexpr std::int16_t DMBIN_USER = 256; // first number for sources without a platform number
constexpr std::int16_t DMPAPER_USER = 256;

struct DeviceMode {
    std::size_t size = 0; // size of the settings block; 0 means the platform gave none
    std::uint32_t dmFields = 0;
    std::int16_t dmPaperSize = 0;
    std::int16_t dmScale = 100;
    std::int16_t dmDefaultSource = 0;
};
