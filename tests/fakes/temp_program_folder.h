#pragma once

#include <filesystem>
#include <string>

namespace vespar::test {

// A fresh program folder under the system's temporary directory with Data/Vespar.ini (the
// shipped default) and an empty Log/; removed again when the object goes.
class TempProgramFolder {
  public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path ini() const { return path_ / "Data" / "Vespar.ini"; }
    // Replaces the line that starts with "key=" in the configuration file by "key=value".
    void SetKey(const std::string& key, const std::string& value);
    static std::string ReadFile(const std::filesystem::path& file);
    void WriteFile(const std::filesystem::path& file, const std::string& text) const;

  private:
    std::filesystem::path path_;
};

// The text of the shipped default configuration.
std::string DefaultIniText();

}  // namespace vespar::test
