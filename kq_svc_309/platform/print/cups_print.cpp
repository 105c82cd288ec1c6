#include "platform/print/cups_print.h"

#include <cups/cups.h>

#include <algorithm>
#include <memory>

namespace kq::print {
namespace {

struct HttpClose {
  void operator()(http_t* h) const { httpClose(h); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;

constexpr const char* kNoService = "无法连接打印服务（CUPS），没有打印！请检查打印服务是否已启动。";

std::string quoted(const std::string& printer) { return "“" + printer + "”"; }

// The failure of the last request for queue `printer`, in the person's words.
Error last_failure(const std::string& printer) {
  const ipp_status_t status = cupsLastError();
  const std::string detail = cupsLastErrorString() ? cupsLastErrorString() : "";
  switch (status) {
    case IPP_STATUS_ERROR_NOT_FOUND:
      return make_error("打印机" + quoted(printer) + "不存在，没有打印！请检查打印机的名称设置。", ErrorKind::NotFound);
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
    case IPP_STATUS_ERROR_PRINTER_IS_DEACTIVATED:
      return make_error("打印机" + quoted(printer) + "暂停接收打印任务，没有打印！", ErrorKind::Busy);
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
      return make_error(kNoService, ErrorKind::Busy);
    default: break;
  }
  return make_error("打印机" + quoted(printer) + "打印失败：" + detail, ErrorKind::Other);
}

}  // namespace

Result<int> print_pdf(const PrintJob& job, std::string_view pdf) {
  if (job.copies < 1 || job.copies > 9) return make_error("打印份数须为 1 到 9 份，没有打印！");
  if (job.printer.empty()) return make_error("没有指定打印机，没有打印！", ErrorKind::NotFound);

  Connection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                               static_cast<int>(job.connect_timeout.count()), nullptr));
  if (!http) return make_error(kNoService, ErrorKind::Busy);

  // The queue is looked up first: a job for a queue that is not there fails
  // with no telling reason.
  cups_dest_t* dest = cupsGetNamedDest(http.get(), job.printer.c_str(), nullptr);
  if (!dest) return last_failure(job.printer);
  cupsFreeDests(1, dest);

  cups_option_t* options = nullptr;
  int num_options = 0;
  const std::string copies = std::to_string(job.copies);
  num_options = cupsAddOption("copies", copies.c_str(), num_options, &options);
  num_options = cupsAddOption("multiple-document-handling", "separate-documents-collated-copies", num_options,
                              &options);
  const int id = cupsCreateJob(http.get(), job.printer.c_str(), job.title.c_str(), num_options, options);
  cupsFreeOptions(num_options, options);
  if (id == 0) return last_failure(job.printer);

  auto abandon = [&](Error e) -> Result<int> {
    cupsCancelJob2(http.get(), job.printer.c_str(), id, 0);
    return e;
  };
  if (cupsStartDocument(http.get(), job.printer.c_str(), id, job.title.c_str(), CUPS_FORMAT_PDF, 1) !=
      HTTP_STATUS_CONTINUE)
    return abandon(last_failure(job.printer));
  constexpr size_t kChunk = 64 * 1024;
  for (size_t at = 0; at < pdf.size(); at += kChunk) {
    const size_t n = std::min(kChunk, pdf.size() - at);
    if (cupsWriteRequestData(http.get(), pdf.data() + at, n) != HTTP_STATUS_CONTINUE) {
      cupsFinishDocument(http.get(), job.printer.c_str());
      return abandon(last_failure(job.printer));
    }
  }
  if (cupsFinishDocument(http.get(), job.printer.c_str()) > IPP_STATUS_OK_EVENTS_COMPLETE)
    return abandon(last_failure(job.printer));
  return id;
}

}  // namespace kq::print
