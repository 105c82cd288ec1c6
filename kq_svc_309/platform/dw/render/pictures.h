#pragma once
// The files of picture objects. A definition names a picture the way the shop's
// old workstation did, relative to its application folder
// ('..\picture\jsd\1.bmp'); here every picture lives in one picture folder
// and the name is read inside it: separators may be "\" or "/", leading "."
// and ".." steps and a first step "picture" are dropped ("jsd/1.bmp"). A name
// that still climbs out of the folder ("a/../../x") names nothing. Pictures are
// drawn from PNG files: the file as named when it is a PNG, else the same name
// with the extension ".png" ("jsd/1.png").
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kq::dw {

// The path inside the picture folder that `file` names ("jsd/1.bmp"), or
// nullopt when it names none.
std::optional<std::string> picture_path(const std::string& file);

// The PNG bytes of the picture `file` in `folder`, or nullopt when there is
// no folder, no such file, the file is not a PNG or is larger than 8 MiB.
std::optional<std::string> load_picture(const std::string& folder, const std::string& file);

// The pixel size of PNG bytes from their header ({0, 0} when they are not a PNG).
struct PixelSize {
  unsigned width = 0, height = 0;
};
PixelSize png_size(std::string_view png);

// Pictures of one document, each file read once.
class PictureCache {
 public:
  explicit PictureCache(std::string folder) : folder_(std::move(folder)) {}
  // The PNG bytes of `file` (see load_picture), or null.
  const std::string* get(const std::string& file);

 private:
  std::string folder_;
  std::map<std::string, std::optional<std::string>> files_;
};

}  // namespace kq::dw
