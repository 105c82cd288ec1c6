#pragma once
// Whether the process can still open files. A session opens database files;
// once the process is out of file descriptors, the database engine reports
// the failure as a file it cannot open or read, which would tell the person
// the wrong story. Asked before a sign-in opens anything, and again to
// explain a connection that failed.
namespace kq::server {

// True when `count` more descriptors can be opened now (they are opened on
// /dev/null and closed again).
bool descriptors_available(int count);

// The refusal told when they cannot.
inline constexpr const char* kOutOfDescriptors =
    "服务器资源不足（可打开的文件已用尽），暂时不能登录，请稍后再试或联系系统管理员";

}  // namespace kq::server
