// ZevraRes2: the encoder. Accepts the MEncoder command lines the system builds and carries
// them out with FFmpeg, printing MEncoder's "Pos:" progress lines.
#include "encoder/encoder_job.h"
#include "util/subprocess.h"

int main(int argc, char** argv)
{
    qorvid::endWithParent();
    return qorvid::tools::runEncoderJob(std::vector<std::string>(argv + 1, argv + argc));
}
