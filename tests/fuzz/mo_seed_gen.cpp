// Writes a few sound .mo images into the directory given, as fuzzing seeds.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "../support/MoImageBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: mo_seed_gen <directory>\n";
        return 2;
    }
    using tv::test::MoEntry;
    const std::vector<MoEntry> small = {
        {"", "Content-Type: text/plain; charset=UTF-8\n"},
        {"Cancel", "Cancelar"},
        {"&Yes", "&S\xC3\xAD"},
        {"First line\nSecond line", "Primera l\xC3\xADnea\nSegunda l\xC3\xADnea"},
        {std::string("file\0files", 10), std::string("fichero\0ficheros", 16)},
    };
    std::vector<MoEntry> larger = small;
    for (int i = 0; i < 40; ++i) larger.push_back({"Message " + std::to_string(i), "Mensaje " + std::to_string(i)});

    struct Seed { const char* name; const std::vector<MoEntry>* entries; tv::test::MoLayout layout; };
    const Seed seeds[] = {
        {"small_le_hash.mo", &small, {false, true}},
        {"small_be_nohash.mo", &small, {true, false}},
        {"larger_be_hash.mo", &larger, {true, true}},
        {"larger_le_nohash.mo", &larger, {false, false}},
    };
    for (const Seed& seed : seeds) {
        const std::string path = std::string(argv[1]) + "/" + seed.name;
        std::ofstream out(path, std::ios::binary);
        out << tv::test::buildMoImage(*seed.entries, seed.layout);
        if (!out) {
            std::cerr << "cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
