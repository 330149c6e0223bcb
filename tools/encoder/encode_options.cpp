#include "encoder/encode_options.h"

#include <cmath>
#include <limits>
#include <cstdlib>
#include <functional>
#include <map>

namespace qorvid::tools {

SubOptions parseSubOptions(const std::string& text)
{
    SubOptions out;
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find(':', begin);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(begin, end - begin);
        if (!item.empty()) {
            SubOption o;
            size_t eq = item.find('=');
            o.key = item.substr(0, eq);
            if (eq != std::string::npos) {
                o.value = item.substr(eq + 1);
                o.hasValue = true;
            }
            out.push_back(o);
        }
        begin = end + 1;
    }
    return out;
}

const SubOption* findSubOption(const SubOptions& options, const std::string& key)
{
    const SubOption* found = nullptr;
    for (const auto& o : options)
        if (o.key == key) found = &o; // the last one counts, as in MEncoder
    return found;
}

std::optional<double> parseNumber(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<double> parseTime(const std::string& text)
{
    double total = 0;
    size_t begin = 0;
    int parts = 0;
    while (true) {
        size_t colon = text.find(':', begin);
        std::string part = text.substr(begin, colon == std::string::npos ? std::string::npos
                                                                         : colon - begin);
        auto v = parseNumber(part);
        if (!v || *v < 0) return std::nullopt;
        total = total * 60 + *v;
        if (++parts > 3) return std::nullopt;
        if (colon == std::string::npos) break;
        begin = colon + 1;
    }
    return total;
}

namespace {

std::vector<FilterSpec> parseFilterList(const std::string& text)
{
    std::vector<FilterSpec> out;
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find(',', begin);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(begin, end - begin);
        if (!item.empty()) {
            FilterSpec f;
            size_t eq = item.find('=');
            f.name = item.substr(0, eq);
            if (eq != std::string::npos) {
                std::string params = item.substr(eq + 1);
                size_t p = 0;
                while (p <= params.size()) {
                    size_t q = params.find(':', p);
                    if (q == std::string::npos) q = params.size();
                    f.params.push_back(params.substr(p, q - p));
                    p = q + 1;
                }
            }
            out.push_back(f);
        }
        begin = end + 1;
    }
    return out;
}

using Handler = std::function<std::string(EncodeOptions&, const std::string&)>;

struct OptionRule {
    bool takesValue;
    Handler apply;
};

std::string needNumber(const std::string& option, const std::string& value,
                       std::optional<double>& out)
{
    out = parseNumber(value);
    return out ? std::string() : "the value of " + option + " is not a number: " + value;
}

Handler numberInto(const std::string& option, double SubtitleOptions::*field)
{
    return [option, field](EncodeOptions& o, const std::string& v) {
        std::optional<double> n;
        std::string err = needNumber(option, v, n);
        if (err.empty()) o.subtitles.*field = *n;
        return err;
    };
}

Handler integerInto(const std::string& option, int EncodeOptions::*field)
{
    return [option, field](EncodeOptions& o, const std::string& v) {
        std::optional<double> n;
        std::string err = needNumber(option, v, n);
        if (err.empty() && (*n < 0 || *n != std::floor(*n) || *n > std::numeric_limits<int>::max()))
            err = "the value of " + option + " is not a whole number: " + v;
        if (err.empty()) o.*field = static_cast<int>(*n);
        return err;
    };
}

Handler timeInto(const std::string& option, std::optional<double> EncodeOptions::*field)
{
    return [option, field](EncodeOptions& o, const std::string& v) {
        auto t = parseTime(v);
        if (!t) return "the value of " + option + " is not a time: " + v;
        o.*field = t;
        return std::string();
    };
}

Handler textInto(std::string EncodeOptions::*field)
{
    return [field](EncodeOptions& o, const std::string& v) {
        o.*field = v;
        return std::string();
    };
}

Handler subOptionsInto(SubOptions EncodeOptions::*field)
{
    return [field](EncodeOptions& o, const std::string& v) {
        auto more = parseSubOptions(v);
        (o.*field).insert((o.*field).end(), more.begin(), more.end());
        return std::string();
    };
}

Handler flag(bool EncodeOptions::*field)
{
    return [field](EncodeOptions& o, const std::string&) {
        o.*field = true;
        return std::string();
    };
}

// "-vf"/"-af" replace the filter list, "-vf-add"/"-af-add" append to it.
Handler filtersInto(std::vector<FilterSpec> EncodeOptions::*field, bool append)
{
    return [field, append](EncodeOptions& o, const std::string& v) {
        auto more = parseFilterList(v);
        if (!append) (o.*field).clear();
        (o.*field).insert((o.*field).end(), more.begin(), more.end());
        return std::string();
    };
}

Handler ignored()
{
    return [](EncodeOptions&, const std::string&) { return std::string(); };
}

const std::map<std::string, OptionRule>& optionRules()
{
    static const std::map<std::string, OptionRule> rules = {
        {"-o", {true, textInto(&EncodeOptions::target)}},
        {"-ovc", {true, textInto(&EncodeOptions::videoEncoder)}},
        {"-oac", {true, textInto(&EncodeOptions::audioEncoder)}},
        {"-of", {true, textInto(&EncodeOptions::muxer)}},
        {"-lavfopts", {true, subOptionsInto(&EncodeOptions::lavfOptions)}},
        {"-mpegopts", {true, subOptionsInto(&EncodeOptions::mpegOptions)}},
        {"-lavcopts", {true, subOptionsInto(&EncodeOptions::lavcOptions)}},
        {"-lameopts", {true, subOptionsInto(&EncodeOptions::lameOptions)}},
        {"-xvidencopts", {true, subOptionsInto(&EncodeOptions::xvidOptions)}},
        {"-x264encopts", {true, subOptionsInto(&EncodeOptions::x264Options)}},
        {"-ofps", {true, textInto(&EncodeOptions::outputFps)}},
        {"-ss", {true, timeInto("-ss", &EncodeOptions::start)}},
        {"-endpos", {true, timeInto("-endpos", &EncodeOptions::length)}},
        {"-mc",
         {true,
          [](EncodeOptions& o, const std::string& v) {
              std::optional<double> n;
              std::string err = needNumber("-mc", v, n);
              if (err.empty()) o.syncCorrection = *n;
              return err;
          }}},
        {"-noodml", {false, ignored()}}, // FFmpeg adds the OpenDML index only where it is needed
        {"-idx", {false, flag(&EncodeOptions::rebuildIndex)}},
        {"-forceidx", {false, flag(&EncodeOptions::rebuildIndex)}},
        {"-ffourcc", {true, textInto(&EncodeOptions::fourcc)}},
        {"-vf-add", {true, filtersInto(&EncodeOptions::videoFilters, true)}},
        {"-vf", {true, filtersInto(&EncodeOptions::videoFilters, false)}},
        {"-af-add", {true, filtersInto(&EncodeOptions::audioFilters, true)}},
        {"-af", {true, filtersInto(&EncodeOptions::audioFilters, false)}},
        {"-delay",
         {true,
          [](EncodeOptions& o, const std::string& v) {
              std::optional<double> n;
              std::string err = needNumber("-delay", v, n);
              if (err.empty()) o.audioDelay = *n;
              return err;
          }}},
        {"-channels", {true, integerInto("-channels", &EncodeOptions::channels)}},
        {"-srate", {true, integerInto("-srate", &EncodeOptions::sampleRate)}},
        {"-nosound", {false, flag(&EncodeOptions::noSound)}},
        {"-sub",
         {true,
          [](EncodeOptions& o, const std::string& v) {
              o.subtitles.file = v;
              return std::string();
          }}},
        {"-font",
         {true,
          [](EncodeOptions& o, const std::string& v) {
              o.subtitles.font = v;
              return std::string();
          }}},
        {"-subcp",
         {true,
          [](EncodeOptions& o, const std::string& v) {
              o.subtitles.codepage = v;
              return std::string();
          }}},
        {"-subfont-text-scale", {true, numberInto("-subfont-text-scale", &SubtitleOptions::textScale)}},
        {"-subfont-outline", {true, numberInto("-subfont-outline", &SubtitleOptions::outline)}},
        {"-subfont-blur", {true, numberInto("-subfont-blur", &SubtitleOptions::blur)}},
        {"-subpos", {true, numberInto("-subpos", &SubtitleOptions::position)}},
        {"-subdelay", {true, numberInto("-subdelay", &SubtitleOptions::delay)}},
        {"-quiet", {false, ignored()}},
        {"-really-quiet", {false, ignored()}},
        {"-noskip", {false, ignored()}},
    };
    return rules;
}

} // namespace

ParsedOptions parseEncoderArguments(const std::vector<std::string>& args)
{
    ParsedOptions result;
    EncodeOptions& o = result.options;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            auto rule = optionRules().find(a);
            if (rule == optionRules().end()) {
                result.error = "unknown option " + a;
                return result;
            }
            std::string value;
            if (rule->second.takesValue) {
                if (i + 1 >= args.size()) {
                    result.error = "option " + a + " needs a value";
                    return result;
                }
                value = args[++i];
            }
            result.error = rule->second.apply(o, value);
            if (!result.error.empty()) return result;
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) result.error = "no source file given";
    else if (files.size() > 1) result.error = "more than one source file given: " + files[1];
    else if (o.target.empty()) result.error = "no target file given (-o)";
    if (result.error.empty()) o.source = files.front();
    return result;
}

} // namespace qorvid::tools
