#pragma once
// Access to the private scheduler that scripts/cups-sandbox started: its folder, its queues, its jobs.
#include <gtest/gtest.h>

#include <QApplication>

#include <cups/cups.h>
#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-page.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace sandbox {

// Skips the test unless the private scheduler is there: without it the tests would reach the
// machine's own scheduler.
#define REQUIRE_SANDBOX()                                                                                    \
    do {                                                                                                     \
        if (!std::getenv("ZARIDI_CUPS_DIR"))                                                                 \
            GTEST_SKIP() << "ZARIDI_CUPS_DIR unset: start scripts/cups-sandbox (ctest and scripts/test do)"; \
        sandbox::EnsureApp();                                                                                \
    } while (0)

inline std::string ReadFile(const std::string& path);

// The sandbox's own address, whatever scheduler the environment names: its TCP port, so that code
// which sets another server and back restores the port too.
inline void PointAtSandbox(const std::string& dir = std::getenv("ZARIDI_CUPS_DIR")) {
    const std::string conf = ReadFile(dir + "/cupsd.conf");
    const std::string key = "Listen 127.0.0.1:";
    std::size_t at = conf.find(key);
    std::string server = dir + "/cups.sock";
    if (at != std::string::npos)
        server = "127.0.0.1:" + conf.substr(at + key.size(), conf.find('\n', at) - at - key.size());
    setenv("CUPS_SERVER", server.c_str(), 1);
}

inline void EnsureApp() {
    PointAtSandbox();
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "print_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QApplication(argc, argv); // the main window needs widgets
}

inline std::string Dir() {
    return std::getenv("ZARIDI_CUPS_DIR");
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs a shell command, returns its standard output; a failing command fails the test.
inline std::string Run(const std::string& command) {
    std::string out;
    FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
    if (!p) return out;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    int rc = pclose(p);
    EXPECT_EQ(rc, 0) << command;
    return out;
}

struct Job {
    int id = 0;
    ipp_jstate_t state = IPP_JSTATE_PENDING;
    std::string title;
};

// The jobs of one queue; of every queue for an empty name.
inline std::vector<Job> Jobs(const std::string& queue) {
    cups_job_t* jobs = nullptr;
    int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.empty() ? nullptr : queue.c_str(), 0,
                         CUPS_WHICHJOBS_ALL);
    std::vector<Job> list;
    for (int i = 0; i < n; ++i)
        list.push_back({jobs[i].id, jobs[i].state, jobs[i].title ? jobs[i].title : ""});
    cupsFreeJobs(n, jobs);
    return list;
}

inline int LastJobId(const std::string& queue) {
    int last = 0;
    for (const Job& j : Jobs(queue))
        last = std::max(last, j.id);
    return last;
}

// Waits until the job has left the queue's active states; returns the final state.
inline Job WaitForJob(const std::string& queue, int id) {
    for (int i = 0; i < 300; ++i) {
        for (const Job& j : Jobs(queue)) {
            if (j.id == id && j.state >= IPP_JSTATE_STOPPED) return j;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ADD_FAILURE() << "job " << id << " on " << queue << " did not finish";
    return {};
}

// The document the scheduler received for a job.
inline std::string SpoolFile(int id) {
    char name[32];
    std::snprintf(name, sizeof name, "/spool/d%05d-001", id);
    return Dir() + name;
}

// The options the scheduler handed to the job's filters (the driver).
inline std::string FilterOptions(int id) {
    const std::string log = ReadFile(Dir() + "/log/error_log");
    const std::string key = "[Job " + std::to_string(id) + "] argv[5]=";
    std::size_t at = log.rfind(key);
    if (at == std::string::npos) return {};
    return log.substr(at, log.find('\n', at) - at);
}

// What the scheduler logged of a job, its filters' lines included: the raster page the driver was handed
// ("PageSize = [ 720 288 ]", "MediaPosition = 1").
inline std::string JobLog(int id) {
    const std::string log = ReadFile(Dir() + "/log/error_log");
    const std::string key = "[Job " + std::to_string(id) + "] ";
    std::string lines;
    for (std::size_t at = log.find(key); at != std::string::npos; at = log.find(key, at + 1))
        lines += log.substr(at, log.find('\n', at) - at + 1);
    return lines;
}

// A word of pdftotext's layout output, in points from the page's top-left.
struct Word {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

inline std::vector<Word> PdfWords(const std::string& pdfPath) {
    std::string html = Run("pdftotext -bbox '" + pdfPath + "' -");
    std::vector<Word> words;
    std::size_t pos = 0;
    while ((pos = html.find("<word ", pos)) != std::string::npos) {
        Word w;
        std::size_t close = html.find('>', pos);
        std::string attrs = html.substr(pos, close - pos);
        auto attr = [&](const char* name) {
            std::size_t a = attrs.find(std::string(name) + "=\"");
            return a == std::string::npos ? 0.0 : std::atof(attrs.c_str() + a + std::strlen(name) + 2);
        };
        w.xMin = attr("xMin");
        w.yMin = attr("yMin");
        w.xMax = attr("xMax");
        w.yMax = attr("yMax");
        std::size_t end = html.find("</word>", close);
        w.text = html.substr(close + 1, end - close - 1);
        words.push_back(w);
        pos = end;
    }
    return words;
}

// One character on a page: its text (UTF-8) and the top-left of its box, in points from the page's
// top-left. Unlike words, characters of texts drawn close together stay apart.
struct Glyph {
    std::string text;
    double x = 0, y = 0;
};

inline std::vector<Glyph> PdfGlyphs(const std::string& pdfPath, int page = 0) {
    std::vector<Glyph> glyphs;
    std::unique_ptr<poppler::document> doc(poppler::document::load_from_file(pdfPath));
    if (!doc || page >= doc->pages()) return glyphs;
    std::unique_ptr<poppler::page> p(doc->create_page(page));
    for (const poppler::text_box& box : p->text_list()) {
        const poppler::ustring text = box.text();
        for (std::size_t i = 0; i < text.size(); ++i) {
            poppler::byte_array utf8 = poppler::ustring(1, text[i]).to_utf8();
            poppler::rectf r = box.char_bbox(i);
            glyphs.push_back({std::string(utf8.begin(), utf8.end()), r.x(), r.y()});
        }
    }
    return glyphs;
}

// A rendered page in grey levels, one byte per pixel.
struct Gray {
    int width = 0, height = 0;
    std::string pixels;
    int DarkPixels(int x0, int y0, int x1, int y1) const {
        int dark = 0;
        for (int y = y0; y < y1 && y < height; ++y)
            for (int x = x0; x < x1 && x < width; ++x)
                dark += static_cast<unsigned char>(pixels[y * width + x]) < 128;
        return dark;
    }
};

// `dpiy`: the vertical resolution where it differs from `dpi`.
inline Gray Render(const std::string& pdfPath, int dpi, int dpiy = 0) {
    const std::string base = Dir() + "/render";
    Run("pdftoppm -gray -singlefile -rx " + std::to_string(dpi) + " -ry " +
        std::to_string(dpiy ? dpiy : dpi) + " '" + pdfPath + "' '" + base + "'");
    std::string data = ReadFile(base + ".pgm");
    Gray g;
    int maxval = 0, consumed = 0;
    if (std::sscanf(data.c_str(), "P5 %d %d %d%n", &g.width, &g.height, &maxval, &consumed) != 3) return {};
    g.pixels = data.substr(consumed + 1);
    if (static_cast<int>(g.pixels.size()) < g.width * g.height) return {};
    return g;
}

// A second private scheduler of a variant of scripts/cups-sandbox (e.g. "no-default"), inside the
// first one's folder; this process talks to it until the scope ends.
class OtherScheduler {
public:
    explicit OtherScheduler(const std::string& variant) {
        Run("rm -rf '" + dir_ + "' && mkdir '" + dir_ + "' && '" + script_ + "' start '" + dir_ + "' " +
            variant);
        PointAtSandbox(dir_);
        cupsSetServer(std::getenv("CUPS_SERVER"));
    }
    ~OtherScheduler() {
        std::system(("'" + script_ + "' stop '" + dir_ + "' >/dev/null 2>&1").c_str());
        PointAtSandbox();
        cupsSetServer(std::getenv("CUPS_SERVER"));
    }
    OtherScheduler(const OtherScheduler&) = delete;
    OtherScheduler& operator=(const OtherScheduler&) = delete;

private:
    std::string script_ = ZARIDI_SOURCE_DIR "/scripts/cups-sandbox";
    std::string dir_ = Dir() + "/other";
};

// Puts a queue's state back however the test ends.
struct Restore {
    std::string command;
    ~Restore() { std::system((command + " >/dev/null 2>&1").c_str()); }
};

} // namespace sandbox
