#include "base/data_files.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "base/built_in_data.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace marlek {

namespace {

std::filesystem::path executable_folder() {
#ifdef _WIN32
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    // A full buffer means the name was cut short: try again with more room.
    if (length < name.size()) {
      name.resize(length);
      break;
    }
    name.resize(name.size() * 2);
  }
  return std::filesystem::path(name).parent_path();
#else
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self.parent_path();
#endif
}

}  // namespace

std::vector<std::filesystem::path> data_folders() {
  std::vector<std::filesystem::path> folders;
#ifdef MARLEK_DATA_DIR
  folders.emplace_back(MARLEK_DATA_DIR);
#endif
  const std::filesystem::path beside = executable_folder();
  if (beside.empty()) return folders;
#ifdef MARLEK_DATA_DIR_FROM_BIN
  folders.push_back((beside / MARLEK_DATA_DIR_FROM_BIN).lexically_normal());
#endif
  folders.push_back(beside);
  return folders;
}

std::optional<std::filesystem::path> find_data_file_on_disk(const std::string& name) {
  std::error_code error;
  if (std::filesystem::exists(name, error)) return name;
  for (const std::filesystem::path& folder : data_folders()) {
    const std::filesystem::path candidate = folder / name;
    if (std::filesystem::exists(candidate, error)) return candidate;
  }
  return std::nullopt;
}

std::filesystem::path find_data_file(const std::string& name) {
  return find_data_file_on_disk(name).value_or(name);
}

std::optional<std::string_view> built_in_data_file(std::string_view name) {
  for (const built_in_file& file : built_in_files())
    if (file.name == name) return file.bytes;
  return std::nullopt;
}

std::unique_ptr<std::istream> open_data_file(const std::string& name,
                                             std::ios_base::openmode mode) {
  const std::optional<std::filesystem::path> on_disk = find_data_file_on_disk(name);
  if (!on_disk) {
    if (const std::optional<std::string_view> bytes = built_in_data_file(name))
      return std::make_unique<std::istringstream>(std::string(*bytes), mode);
  }
  return std::make_unique<std::ifstream>(on_disk.value_or(name), mode);
}

}  // namespace marlek
