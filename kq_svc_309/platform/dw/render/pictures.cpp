#include "platform/dw/render/pictures.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "platform/value/text.h"

namespace kq::dw {

namespace {

constexpr std::uintmax_t kMaxPictureBytes = 8u << 20;
constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";

std::optional<std::string> read_png(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxPictureBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) return std::nullopt;
  if (bytes.compare(0, kPngSignature.size(), kPngSignature) != 0) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<std::string> picture_path(const std::string& file) {
  std::vector<std::string> steps;
  std::string step;
  for (char c : file + "/") {
    if (c != '/' && c != '\\') {
      step += c;
      continue;
    }
    if (!step.empty()) steps.push_back(step);
    step.clear();
  }
  size_t first = 0;
  while (first < steps.size() && (steps[first] == "." || steps[first] == "..")) ++first;
  if (first < steps.size() && text::lower(steps[first]) == "picture") ++first;
  std::string path;
  for (size_t i = first; i < steps.size(); ++i) {
    if (steps[i] == "." || steps[i] == ".." || steps[i].find(':') != std::string::npos) return std::nullopt;
    path += (path.empty() ? "" : "/") + steps[i];
  }
  if (path.empty()) return std::nullopt;
  return path;
}

std::optional<std::string> load_picture(const std::string& folder, const std::string& file) {
  if (folder.empty()) return std::nullopt;
  const std::optional<std::string> inside = picture_path(file);
  if (!inside) return std::nullopt;
  const std::filesystem::path named = std::filesystem::path(folder) / *inside;
  if (auto bytes = read_png(named)) return bytes;
  std::filesystem::path png = named;
  png.replace_extension(".png");
  if (png != named) return read_png(png);
  return std::nullopt;
}

PixelSize png_size(std::string_view png) {
  if (png.size() < 24 || png.compare(0, kPngSignature.size(), kPngSignature) != 0) return {};
  auto be32 = [&](size_t at) {
    unsigned v = 0;
    for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(png[at + i]);
    return v;
  };
  return {be32(16), be32(20)};
}

const std::string* PictureCache::get(const std::string& file) {
  auto it = files_.find(file);
  if (it == files_.end()) it = files_.emplace(file, load_picture(folder_, file)).first;
  return it->second ? &*it->second : nullptr;
}

}  // namespace kq::dw
