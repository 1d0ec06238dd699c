// The least a safe in-place converter asks of the file system, without
// converting anything: for every regular file under the given folders, read
// it, write the same bytes to a new file beside it, and rename that over the
// original, one file after another. scripts/bench times it next to QLTC and
// the peers, so the ratios show how much of a run is the file system's own
// cost of replacing files.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

bool ReplaceWithCopy(const std::string& path, std::vector<char>& buffer)
{
    int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    std::string data;
    for (ssize_t got; (got = ::read(in, buffer.data(), buffer.size())) > 0;)
        data.append(buffer.data(), size_t(got));
    ::close(in);
    const std::string temp = path + ".tmp";
    int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0)
        return false;
    bool written = ::write(out, data.data(), data.size()) == ssize_t(data.size());
    written = ::close(out) == 0 && written;
    return written && ::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<char> buffer(size_t(1) << 20);
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        // The listing is taken first, so that the new files are not met again.
        std::vector<std::string> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i], error))
            if (entry.is_regular_file(error))
                files.push_back(entry.path().string());
        for (const std::string& file : files)
            failed += ReplaceWithCopy(file, buffer) ? 0 : 1;
    }
    if (failed)
        std::fprintf(stderr, "replace_floor: %d files failed\n", failed);
    return failed ? 1 : 0;
}
