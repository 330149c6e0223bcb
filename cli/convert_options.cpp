#include "cli/convert_options.h"

#include "app/lang_text.h"
#include "media/job_state.h"
#include "options/conversion_options.h"
#include "options/mark_times.h"
#include "options/option_lists.h"
#include "util/text.h"

#include <set>

namespace qorvid::cli {

namespace {

// Options that take a value, and those that take two.
const std::set<std::string> kValued = {
    "--size", "--size-item", "--crop", "--borders", "--rotate", "--fps", "--vbitrate", "--abitrate",
    "--sample-rate", "--audio-delay", "--volume", "--brightness", "--contrast", "--hue", "--saturation",
    "--sub", "--sub-font", "--sub-cp", "--sub-size", "--sub-pos", "--sub-outline", "--sub-blur", "--sub-delay"};
const std::set<std::string> kSwitches = {"--crop-first", "--no-audio", "--volnorm", "--no-sub"};

std::vector<std::string> splitNumbers(const std::string& text, char sep)
{
    std::vector<std::string> parts;
    size_t pos = 0;
    for (;;) {
        size_t s = text.find(sep, pos);
        parts.push_back(trim(text.substr(pos, s == std::string::npos ? std::string::npos : s - pos)));
        if (s == std::string::npos) break;
        pos = s + 1;
    }
    return parts;
}

bool wholeNumbers(const std::vector<std::string>& parts, size_t count)
{
    if (parts.size() != count) return false;
    for (const auto& p : parts) {
        auto v = parseNumber(p);
        if (!v || *v != static_cast<long>(*v)) return false;
    }
    return true;
}

std::string adjuster(const std::string& name, const std::string& value, int& into)
{
    auto v = parseNumber(value);
    if (!v || *v != static_cast<int>(*v) || *v < -100 || *v > 100)
        return name + " takes a whole number from -100 to 100";
    into = static_cast<int>(*v);
    return {};
}

} // namespace

const char* convertUsage()
{
    return "usage: qorvid-cli convert FILE --to KEY [options]\n"
           "  KEY: a target of `qorvid-cli targets`; volume, cut, fix pick the entry by the source's extension\n"
           "  --size WxH | --size-item N   picture size (N: index of the size list)\n"
           "  --crop L,T,R,B [--crop-first] crop rectangle in source pixels (left, top, right, bottom edges)\n"
           "  --borders T,B,L,R            black borders in pixels\n"
           "  --rotate N                   0 none, 1 mirror, 2 flip, 3 180, 4..7 quarter turns\n"
           "  --fps TEXT --vbitrate TEXT --abitrate TEXT\n"
           "  --no-audio --sample-rate N --audio-delay S --volnorm --volume DB\n"
           "  --brightness N --contrast N --hue N --saturation N   (-100..100)\n"
           "  --sub FILE --sub-font FILE --sub-cp TOKEN --sub-size N --sub-pos N --sub-outline N\n"
           "  --sub-blur N --sub-delay S --no-sub\n"
           "  --mark START END             hh:mm:ss.s range\n"
           "  --patch N --out PATH --target-dir DIR --lang CODE\n"
           "  --dry-run   print the command line that would run\n"
           "  --yes       answer OK/Yes to every question;  --play  play the result afterwards\n";
}

std::optional<ConvertArgs> parseConvertArgs(const std::vector<std::string>& words, std::string& error)
{
    ConvertArgs a;
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        auto value = [&](size_t ahead = 1) -> const std::string* {
            if (i + ahead >= words.size()) {
                error = w + " needs a value";
                return nullptr;
            }
            return &words[i + ahead];
        };
        if (optionsEnded || w.empty() || w[0] != '-' || w == "-") {
            if (!a.file.empty()) {
                error = "only one source file: '" + w + "'";
                return std::nullopt;
            }
            a.file = w;
        } else if (w == "--") {
            optionsEnded = true;
        } else if (w == "--to" || w == "--out" || w == "--target-dir" || w == "--patch") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            if (w == "--to") a.to = *v;
            if (w == "--out") a.out = *v;
            if (w == "--target-dir") a.targetDir = *v;
            if (w == "--patch") {
                auto n = parseNumber(*v);
                if (!n || *n < 0 || *n > 3 || *n != static_cast<int>(*n)) {
                    error = "--patch takes 0, 1, 2 or 3";
                    return std::nullopt;
                }
                a.patch = static_cast<int>(*n);
            }
            ++i;
        } else if (w == "--mark") {
            const std::string* end = value(2);
            if (!end) return std::nullopt;
            a.settings.emplace_back("--mark", words[i + 1] + "|" + *end);
            i += 2;
        } else if (kValued.count(w)) {
            const std::string* v = value();
            if (!v) return std::nullopt;
            a.settings.emplace_back(w, *v);
            ++i;
        } else if (kSwitches.count(w)) {
            a.settings.emplace_back(w, "");
        } else if (w == "--dry-run") {
            a.dryRun = true;
        } else if (w == "--yes") {
            a.yes = true;
        } else if (w == "--play") {
            a.play = true;
        } else {
            error = "unknown option " + w;
            return std::nullopt;
        }
    }
    if (a.file.empty() || a.to.empty()) {
        error = "a source file and --to KEY are needed";
        return std::nullopt;
    }
    return a;
}

namespace {

using Options = ConversionOptions;

// Settings whose value goes into a box of the options window as given; the OK checks judge it.
const std::pair<std::string_view, std::string Options::*> kTextBoxes[] = {
    {"--vbitrate", &Options::cboVideoBitrate}, {"--abitrate", &Options::cboAudioBitrate},
    {"--sample-rate", &Options::cboAudioSample}, {"--audio-delay", &Options::txtAudioDelay},
    {"--sub-font", &Options::subFontFile},     {"--sub-size", &Options::txtSubSize},
    {"--sub-pos", &Options::txtSubPosHgt},     {"--sub-outline", &Options::txtSubOutline},
    {"--sub-blur", &Options::txtSubBlur},      {"--sub-delay", &Options::txtSubDelay},
};

const std::pair<std::string_view, int Options::*> kAdjusters[] = {
    {"--volume", &Options::volume}, {"--brightness", &Options::brightness}, {"--contrast", &Options::contrast},
    {"--hue", &Options::hue},       {"--saturation", &Options::saturation},
};

std::string applySizeItem(const std::string& value, Options& o, const JobState& job, const LangText& lang)
{
    auto items = fillSizeList(lang);
    auto n = parseNumber(value);
    if (!n || *n < 0 || *n >= static_cast<double>(items.size()) || *n != static_cast<int>(*n))
        return "--size-item takes an index from 0 to " + std::to_string(items.size() - 1);
    o.cboSizeIndex = static_cast<int>(*n);
    o.cboSize = items[static_cast<size_t>(o.cboSizeIndex)];
    SizeSetting s = SetSizeSetting(o.cboSizeIndex, o.txtSize[0], o.txtSize[1], job.srcWidth, job.srcHeight);
    o.txtSize = {s.width, s.height};
    return {};
}

std::string applyCrop(const std::string& value, Options& o, const JobState& job)
{
    auto p = splitNumbers(value, ',');
    if (!wholeNumbers(p, 4)) return "--crop takes LEFT,TOP,RIGHT,BOTTOM";
    o.hasCrop = true;
    for (int i = 0; i < 4; ++i) o.crop[static_cast<size_t>(i)] = std::stoi(p[static_cast<size_t>(i)]);
    // Source pixels: the preview picture is taken at the source's own size.
    o.previewWidth = job.srcWidth;
    o.previewHeight = job.srcHeight;
    if (o.crop[2] <= o.crop[0] || o.crop[3] <= o.crop[1]) return "--crop: RIGHT and BOTTOM lie past LEFT and TOP";
    return {};
}

// The picture page's settings; nullopt for a setting of another page.
std::optional<std::string> applyPictureSetting(const std::string& name, const std::string& value, Options& o,
                                               const JobState& job, const LangText& lang)
{
    if (name == "--size") {
        auto wh = splitNumbers(toLower(value), 'x');
        if (!wholeNumbers(wh, 2)) return "--size takes WIDTHxHEIGHT, for example 640x480";
        o.cboSizeIndex = 1;
        o.cboSize = lang[Msg::CustomSize];
        o.txtSize = {wh[0], wh[1]};
    } else if (name == "--size-item") {
        return applySizeItem(value, o, job, lang);
    } else if (name == "--crop") {
        return applyCrop(value, o, job);
    } else if (name == "--crop-first") {
        o.optScaleCrop = 1;
    } else if (name == "--borders") {
        auto p = splitNumbers(value, ',');
        if (!wholeNumbers(p, 4)) return "--borders takes TOP,BOTTOM,LEFT,RIGHT";
        for (size_t i = 0; i < 4; ++i) o.txtExpand[i] = p[i];
    } else if (name == "--rotate") {
        auto n = parseNumber(value);
        if (!n || *n < 0 || *n > 7 || *n != static_cast<int>(*n)) return "--rotate takes 0 to 7";
        o.cboRotate = static_cast<int>(*n);
    } else if (name == "--fps") {
        o.cboFps = value;
        o.cboFpsIndex = -1;
    } else {
        return std::nullopt;
    }
    return std::string();
}

// The switches of the sound and subtitle pages, and the code page.
std::string applyOtherSetting(const std::string& name, const std::string& value, Options& o, const LangText& lang)
{
    if (name == "--no-audio") o.optAudio = 1;
    if (name == "--volnorm") o.chkAudioVolnorm = true;
    if (name == "--no-sub") o.optSub = 0;
    if (name == "--sub") {
        o.optSub = 1;
        o.txtSubFile = value;
    }
    if (name == "--sub-cp") {
        o.cboSubcp.clear();
        for (const auto& item : subtitleCodePageList(lang))
            if (codePageToken(item) == value) o.cboSubcp = item;
        if (o.cboSubcp.empty()) return "--sub-cp: unknown code page '" + value + "'";
    }
    return {};
}

std::string applySetting(const std::string& name, const std::string& value, Options& o, const JobState& job,
                         const LangText& lang)
{
    for (const auto& [option, box] : kTextBoxes)
        if (name == option) {
            o.*box = value;
            // A bit rate given here is a number, no longer the source's own.
            if (box == &Options::cboVideoBitrate) o.videoBitrateFromSource = false;
            if (box == &Options::cboAudioBitrate) o.audioBitrateFromSource = false;
            return {};
        }
    for (const auto& [option, field] : kAdjusters)
        if (name == option) return adjuster(name, value, o.*field);
    if (auto problem = applyPictureSetting(name, value, o, job, lang)) return *problem;
    return applyOtherSetting(name, value, o, lang);
}

} // namespace

std::string applySettings(const ConvertArgs& args, ConversionOptions& o, const JobState& job, const LangText& lang)
{
    for (const auto& [name, value] : args.settings)
        if (std::string problem = applySetting(name, value, o, job, lang); !problem.empty()) return problem;
    return {};
}

std::string applyMarks(const ConvertArgs& args, ConversionOptions& o, const JobState& job, const LangText& lang)
{
    for (const auto& [name, value] : args.settings) {
        if (name != "--mark") continue;
        size_t bar = value.find('|');
        std::string start = value.substr(0, bar), end = value.substr(bar + 1);
        TypedMarks typed = checkTypedMarks(start, end, job.srcLength, lang);
        if (typed.message != Msg::None) return typed.text;
        o.txtScope = {start, end};
        o.lblMark = typed.marks;
    }
    return {};
}

} // namespace qorvid::cli
