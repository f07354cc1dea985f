#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.
#include <filesystem>
#include <string>

namespace kwtest {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // Writes bytes to a file in the folder and returns its path.
  std::string write(const std::string& name, const std::string& bytes) const;
  // The bytes of a file in the folder ("" when it does not exist).
  std::string read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::string& path);

}  // namespace kwtest
