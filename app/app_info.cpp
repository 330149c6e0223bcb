#include "app/app_info.h"

namespace qorvid {

const std::string& generalMediaFilter()
{
    static const std::string filter = [] {
        const char* entries[] = {
            "Supported Files|*.gif;*.avi;*.mpg;*.mpeg;*.dat;*.vob;*.mp4;*.m4v;*.wmv;*.asf;*.rm;*.rmvb;*.ram;*.mov;*.qt;*.flv;*.3gp;*.3gpp;*.ogm;*.iso;*.mdf;*.mds;*.divx;*.h264;*.mkv;*.ape;*.wav;*.pcm;*.wma;*.ra;*.rma;*.m1a;*.m2a;*.m3a;*.m4a;*.mpa;*.mpc;*.mp1;*.mp2;*.mp3;*.ac3;*.aac;*.dts;*.ogg;*.amr;*.flac",
            "AVI Files (*.avi)|*.avi",
            "MPEG Files (*.mpg;*.mpeg;*.dat;*.vob)|*.mpg;*.mpeg;*.dat;*.vob",
            "MPEG-4 Video Files (*.mp4;*.m4v)|*.mp4;*.m4v",
            "Windows Media Files (*.wmv;*.asf)|*.wmv;*.asf",
            "Real Media Files (*.rm;*.rmvb;*.ram)|*.rm;*.rmvb;*.ram",
            "QuickTime Files (*.mov;*.qt)|*.mov;*.qt",
            "Flash Video Files (*.flv)|*.flv",
            "3GP Files (*.3gp;*.3gpp)|*.3gp;*.3gpp",
            "OGM Vorbis Files (*.ogm)|*.ogm",
            "ISO, MDF Files (*.iso;*.mdf;*.mds)|*.iso;*.mdf;*.mds",
            "Other Movie Files (*.divx;*.h264;*.avs;*.mkv)|*.divx;*.h264;*.avs;*.mkv",
            "Animated Gifs Files (*.gif)|*.gif",
            "Audio Music Files|*.ape;*.wav;*.pcm;*.wma;*.ra;*.rma;*.m1a;*.m2a;*.m3a;*.m4a;*.mpa;*.mpc;*.mp1;*.mp2;*.mp3;*.mp4;*.ac3;*.aac;*.dts;*.ogg;*.amr;*.flac",
            "All Files (*.*)|*.*",
        };
        std::string joined;
        for (const char* entry : entries) {
            if (!joined.empty()) joined += '|';
            joined += entry;
        }
        return joined;
    }();
    return filter;
}

} // namespace qorvid
