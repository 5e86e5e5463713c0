#include "fakes/temp_program_folder.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace vespar::test {

std::string DefaultIniText() {
    return TempProgramFolder::ReadFile(std::filesystem::path(VESPAR_SOURCE_DIR) / "data" /
                                       "Vespar.ini");
}

TempProgramFolder::TempProgramFolder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("vespar-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_ / "Data");
    std::filesystem::create_directories(path_ / "Log");
    WriteFile(ini(), DefaultIniText());
}

TempProgramFolder::~TempProgramFolder() {
    std::error_code ec;
    // Give back write rights that a test took away, so everything can go.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
}

std::string TempProgramFolder::ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void TempProgramFolder::WriteFile(const std::filesystem::path& file,
                                  const std::string& text) const {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + file.string());
    out << text;
}

void TempProgramFolder::SetKey(const std::string& key, const std::string& value) {
    const std::string text = ReadFile(ini());
    const std::string needle = "\r\n" + key + "=";
    const auto at = text.find(needle);
    if (at == std::string::npos) throw std::runtime_error("no key " + key);
    const auto end = text.find("\r\n", at + needle.size());
    WriteFile(ini(), text.substr(0, at + needle.size()) + value + text.substr(end));
}

}  // namespace vespar::test
