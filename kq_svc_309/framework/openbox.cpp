#include "framework/openbox.h"

#include <string>

#include "framework/session.h"

namespace kq::fw {

void openbox(std::string_view file, std::string_view text) {
  Session* s = current_session();
  if (s && s->ui) s->ui->progress(ui::Progress{std::string(file), std::string(text)});
}

void delbox() {
  Session* s = current_session();
  if (s && s->ui) s->ui->progress_done();
}

}  // namespace kq::fw
