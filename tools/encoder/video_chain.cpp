#include "encoder/video_chain.h"

#include "encoder/filter_escape.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qorvid::tools {
namespace {

// Parameter i of the filter as a number; fallback when absent or empty.
bool numberParam(const FilterSpec& f, size_t i, double fallback, double& out, std::string& error)
{
    if (i >= f.params.size() || f.params[i].empty()) {
        out = fallback;
        return true;
    }
    auto n = parseNumber(f.params[i]);
    // No size, place, angle or level reaches a million; beyond that the picture sizes kept
    // here would overflow.
    if (!n || std::abs(*n) > 1e6) {
        error = "bad value in -vf " + f.name + ": " + f.params[i];
        return false;
    }
    out = *n;
    return true;
}

std::string integer(double v) { return plainNumber(std::round(v)); }

struct SizeTracker {
    int w = 0, h = 0;
    bool known() const { return w > 0 && h > 0; }
};

class ChainBuilder {
public:
    ChainBuilder(const EncodeOptions& o, const PlanContext& ctx) : o_(o)
    {
        size_.w = ctx.source.width;
        size_.h = ctx.source.height;
        fontFamily_ = ctx.fontFamily;
    }

    VideoChain build()
    {
        bool subtitlesPlaced = o_.subtitles.file.empty();
        for (const auto& f : o_.videoFilters) {
            if (!add(f)) break;
            // expand with its OSD switch on puts the text into the enlarged picture
            if (!subtitlesPlaced && f.name == "expand" && f.params.size() > 4 && f.params[4] == "1") {
                addSubtitles();
                subtitlesPlaced = true;
            }
        }
        if (result_.error.empty() && !subtitlesPlaced) addSubtitles();
        for (size_t i = 0; i < parts_.size(); ++i) result_.graph += (i ? "," : "") + parts_[i];
        result_.width = size_.w;
        result_.height = size_.h;
        return result_;
    }

private:
    bool fail(const std::string& message)
    {
        result_.error = message;
        return false;
    }

    bool add(const FilterSpec& f)
    {
        std::string& err = result_.error;
        const std::string& n = f.name;
        if (n == "harddup") {
            result_.constantRate = true;
        } else if (n == "screenshot" || n == "pp") {
            // taking stills and post-processing belong to playback, not to encoding
        } else if (n == "mirror") {
            parts_.push_back("hflip");
        } else if (n == "flip") {
            parts_.push_back("vflip");
        } else if (n == "rotate") {
            double r;
            if (!numberParam(f, 0, 0, r, err)) return false;
            int dir = static_cast<int>(r);
            if (r != dir || dir < 0 || dir > 7) return fail("bad value in -vf rotate: " + f.params[0]);
            // MPlayer's numbering 0..3 is the one of FFmpeg's transpose; 4..7 only turn a
            // portrait picture.
            if (dir < 4) {
                parts_.push_back("transpose=" + std::to_string(dir));
                std::swap(size_.w, size_.h);
            } else {
                parts_.push_back("transpose=dir=" + std::to_string(dir - 4) + ":passthrough=landscape");
                if (size_.h > size_.w) std::swap(size_.w, size_.h);
            }
        } else if (n == "scale") {
            return addScale(f);
        } else if (n == "crop") {
            return addCrop(f);
        } else if (n == "expand") {
            return addExpand(f);
        } else if (n == "eq") {
            double b, c;
            if (!numberParam(f, 0, 0, b, err) || !numberParam(f, 1, 0, c, err)) return false;
            parts_.push_back("eq=brightness=" + plainNumber(b / 100) +
                             ":contrast=" + plainNumber((c + 100) / 100));
        } else if (n == "eq2") {
            double g, c, b, s;
            if (!numberParam(f, 0, 1, g, err) || !numberParam(f, 1, 1, c, err) ||
                !numberParam(f, 2, 0, b, err) || !numberParam(f, 3, 1, s, err))
                return false;
            parts_.push_back("eq=gamma=" + plainNumber(g) + ":contrast=" + plainNumber(c) +
                             ":brightness=" + plainNumber(b) + ":saturation=" + plainNumber(s));
        } else if (n == "hue") {
            double h, s;
            if (!numberParam(f, 0, 0, h, err) || !numberParam(f, 1, 1, s, err)) return false;
            parts_.push_back("hue=h=" + plainNumber(h) + ":s=" + plainNumber(s));
        } else {
            return fail("unknown video filter -vf " + n);
        }
        return true;
    }

    bool addScale(const FilterSpec& f)
    {
        double w, h;
        if (!numberParam(f, 0, -1, w, result_.error) || !numberParam(f, 1, -1, h, result_.error))
            return false;
        // 0 and -1 keep that side as it is; -2 and -3 follow the picture's aspect
        auto side = [](double v, const char* keep) -> std::string {
            if (v == 0 || v == -1) return keep;
            if (v <= -2) return "-2";
            return integer(v);
        };
        if ((w == 0 || w == -1) && (h == 0 || h == -1)) return true;
        parts_.push_back("scale=" + side(w, "iw") + ":" + side(h, "ih"));
        if (w > 0 && h > 0) {
            size_.w = static_cast<int>(std::lround(w));
            size_.h = static_cast<int>(std::lround(h));
        } else if (size_.known()) {
            double aspect = static_cast<double>(size_.w) / size_.h;
            if (w > 0) {
                size_.h = h <= -2 ? static_cast<int>(std::lround(w / aspect / 2) * 2) : size_.h;
                size_.w = static_cast<int>(std::lround(w));
            } else if (h > 0) {
                size_.w = w <= -2 ? static_cast<int>(std::lround(h * aspect / 2) * 2) : size_.w;
                size_.h = static_cast<int>(std::lround(h));
            }
        }
        return true;
    }

    bool addCrop(const FilterSpec& f)
    {
        double w, h, x, y;
        std::string& err = result_.error;
        if (!numberParam(f, 0, -1, w, err) || !numberParam(f, 1, -1, h, err) ||
            !numberParam(f, 2, -1, x, err) || !numberParam(f, 3, -1, y, err))
            return false;
        std::string text = "crop=" + (w > 0 ? integer(w) : std::string("iw")) + ":" +
                           (h > 0 ? integer(h) : std::string("ih"));
        if (x >= 0 || y >= 0)
            text += ":" + (x >= 0 ? integer(x) : std::string("(in_w-out_w)/2")) + ":" +
                    (y >= 0 ? integer(y) : std::string("(in_h-out_h)/2"));
        parts_.push_back(text);
        if (w > 0) size_.w = static_cast<int>(std::lround(w));
        if (h > 0) size_.h = static_cast<int>(std::lround(h));
        return true;
    }

    bool addExpand(const FilterSpec& f)
    {
        double w, h, x, y;
        std::string& err = result_.error;
        if (!numberParam(f, 0, 0, w, err) || !numberParam(f, 1, 0, h, err) ||
            !numberParam(f, 2, -1, x, err) || !numberParam(f, 3, -1, y, err))
            return false;
        // Negative sizes are borders added to the picture; the frame never shrinks it.
        auto outer = [](double v, const char* inner) -> std::string {
            if (v == 0) return inner;
            if (v < 0) return std::string(inner) + "+" + integer(-v);
            return std::string("max(") + inner + "\\," + integer(v) + ")";
        };
        auto place = [](double v, const char* outerSide, const char* innerSide) -> std::string {
            std::string room = std::string("(") + outerSide + "-" + innerSide + ")";
            if (v < 0) return room + "/2";
            return "min(" + integer(v) + "\\," + room + ")";
        };
        parts_.push_back("pad=" + outer(w, "iw") + ":" + outer(h, "ih") + ":" +
                         place(x, "ow", "iw") + ":" + place(y, "oh", "ih") + ":black");
        if (size_.known()) {
            size_.w = w == 0 ? size_.w : w < 0 ? size_.w - static_cast<int>(w)
                                               : std::max(size_.w, static_cast<int>(std::lround(w)));
            size_.h = h == 0 ? size_.h : h < 0 ? size_.h - static_cast<int>(h)
                                               : std::max(size_.h, static_cast<int>(std::lround(h)));
        }
        return true;
    }

    // The encoder's blur radius is where its Gaussian falls to 1/256; the renderer's Blur
    // is a Gaussian of the same fall-off at 2/sqrt(ln 256) of it: same sigma at R/(2*sqrt 2).
    static constexpr double kBlurPerRadius = 0.35355339;

    void addSubtitles()
    {
        const SubtitleOptions& s = o_.subtitles;
        if (!size_.known()) result_.needsSourceSize = true;
        // Text height as a share of the picture diagonal, in the units of a script whose
        // picture is 288 lines high (what FFmpeg gives a subtitle file without its own size).
        double aspect = size_.known() ? static_cast<double>(size_.w) / size_.h : 4.0 / 3.0;
        double fontSize = s.textScale / 100.0 * 288.0 * std::sqrt(1 + aspect * aspect);
        double lineUnits = size_.known() ? 288.0 / size_.h : 1.0;
        double margin = std::clamp(100.0 - s.position, 0.0, 100.0) / 100.0 * 288.0;
        std::string style = "Fontsize=" + integer(std::max(1.0, fontSize)) +
                            ",Outline=" + plainNumber(std::round(s.outline * lineUnits * 10) / 10) +
                            ",Blur=" + plainNumber(std::round(s.blur * kBlurPerRadius * lineUnits * 10) / 10) +
                            ",Shadow=0,BorderStyle=1,Alignment=2,MarginV=" + integer(margin);
        if (!fontFamily_.empty()) style = "FontName=" + fontFamily_ + "," + style;
        std::string text = "subtitles=filename=" + escapeFilterValue(s.file);
        if (!s.codepage.empty()) text += ":charenc=" + escapeFilterValue(s.codepage);
        if (!s.font.empty()) {
            size_t slash = s.font.find_last_of('/');
            if (slash != std::string::npos)
                text += ":fontsdir=" + escapeFilterValue(s.font.substr(0, slash + 1));
        }
        text += ":force_style=" + escapeFilterValue(style);
        // The picture's clock restarts at the -ss point; the text keeps the source's clock,
        // moved by -subdelay.
        double shift = o_.start.value_or(0) - s.delay;
        if (shift != 0) parts_.push_back("setpts=PTS+(" + plainNumber(shift) + ")/TB");
        parts_.push_back(text);
        if (shift != 0) parts_.push_back("setpts=PTS-(" + plainNumber(shift) + ")/TB");
    }

    const EncodeOptions& o_;
    SizeTracker size_;
    std::string fontFamily_;
    std::vector<std::string> parts_;
    VideoChain result_;
};

} // namespace

VideoChain buildVideoChain(const EncodeOptions& options, const PlanContext& context)
{
    return ChainBuilder(options, context).build();
}

} // namespace qorvid::tools
