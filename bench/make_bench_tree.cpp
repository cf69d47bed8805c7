// Makes the benchmark trees, the same bytes on every run:
//   small: about 20,000 files of 1 to 64 KiB in about 200 folders three levels deep, with some files of
//          0, 128 and 129 bytes, empty folders, and Japanese, upper-case and dot-less names;
//   large: 4 files of 256 MiB.
// Every file longer than 128 bytes starts with a 128-byte header.
//
// usage: make_bench_tree small|large FOLDER

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 1) { }
    std::uint64_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    std::uint64_t below(std::uint64_t bound) { return next() % bound; }

private:
    std::uint64_t m_state;
};

void writeFile(const fs::path &path, std::uint64_t size, Random &random)
{
    static std::vector<char> block(1 << 20);
    std::ofstream out(path, std::ios::binary);
    std::uint64_t written = 0;
    if (size > 128) {
        char header[128] = {};
        std::snprintf(header, sizeof header, "MACHEADER %s", path.filename().c_str());
        out.write(header, sizeof header);
        written = 128;
    }
    while (written < size) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(size - written, block.size()));
        for (std::size_t i = 0; i < chunk; i += 8) {
            const std::uint64_t value = random.next();
            std::memcpy(block.data() + i, &value, std::min<std::size_t>(8, chunk - i));
        }
        out.write(block.data(), static_cast<std::streamsize>(chunk));
        written += chunk;
    }
}

std::string fileName(int index, Random &random)
{
    char number[16];
    std::snprintf(number, sizeof number, "%05d", index);
    switch (random.below(5)) {
    case 0:
        return std::string("DATA") + number + ".BIN"; // upper case
    case 1:
        return std::string("写真") + number + ".jpg"; // Japanese
    case 2:
        return std::string("readme") + number; // no dot
    default:
        return std::string("file") + number + ".dat";
    }
}

void makeSmall(const fs::path &root)
{
    Random random(2026);
    int fileIndex = 0;
    const char *levelNames[] = { "Folder", "資料", "sub" };
    std::vector<fs::path> folders;
    for (int a = 0; a < 6; ++a) {
        const fs::path first = root / (std::string(levelNames[0]) + std::to_string(a));
        folders.push_back(first);
        for (int b = 0; b < 6; ++b) {
            const fs::path second = first / (std::string(levelNames[1]) + std::to_string(b));
            folders.push_back(second);
            for (int c = 0; c < 5; ++c)
                folders.push_back(second / (std::string(levelNames[2]) + std::to_string(c)));
        }
    }
    for (std::size_t i = 0; i < folders.size(); ++i) {
        fs::create_directories(folders[i]);
        if (i % 37 == 5)
            continue; // an empty folder
        for (int n = 0; n < 90; ++n) {
            std::uint64_t size = 1024 + random.below(63 * 1024 + 1);
            if (n == 0)
                size = 0;
            else if (n == 1)
                size = 128;
            else if (n == 2)
                size = 129;
            writeFile(folders[i] / fileName(fileIndex++, random), size, random);
        }
    }
    std::printf("small: %d files in %zu folders\n", fileIndex, folders.size() + 1);
}

void makeLarge(const fs::path &root)
{
    Random random(4);
    fs::create_directories(root);
    for (int i = 0; i < 4; ++i)
        writeFile(root / ("Large" + std::to_string(i) + ".bin"), std::uint64_t { 256 } << 20, random);
    std::printf("large: 4 files of 256 MiB\n");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "small") != 0 && std::strcmp(argv[1], "large") != 0)) {
        std::fprintf(stderr, "usage: make_bench_tree small|large FOLDER\n");
        return 2;
    }
    const fs::path root = argv[2];
    fs::remove_all(root);
    if (std::strcmp(argv[1], "small") == 0)
        makeSmall(root);
    else
        makeLarge(root);
    return 0;
}
