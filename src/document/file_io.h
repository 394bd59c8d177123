#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qf {

// Error numbers of file operations, 0 on success. The low numbers are those the original
// platform reported, so callers and messages can keep relying on them.
enum FileError : int {
  kFileOk = 0,
  kErrOutOfMemory = 7,
  kErrFileNotFound = 53,
  kErrDeviceIo = 57,
  kErrDiskFull = 61,
  kErrPermissionDenied = 70,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
  kErrUnencodableText = 1001,  // a character code page 932 cannot hold
  kErrBadEncoding = 1002,      // bytes that are not code page 932
  kErrNotADesign = 1003,       // empty, or not a design file at all
};

struct FileStatus {
  int error = kFileOk;
  std::string detail;  // a one-line explanation for the user, UTF-8; empty on success

  bool ok() const { return error == kFileOk; }
};

// Reads a whole file. Files larger than maxBytes are refused with kErrOutOfMemory.
FileStatus ReadWholeFile(const std::filesystem::path& path, std::string& bytes, size_t maxBytes);

// Writes bytes to a temporary file beside path, flushes and syncs it, then renames it over
// path, so a failure at any step leaves the previous file as it was. Every failing step is
// reported.
FileStatus WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Why a file could not be written, for an errno value, as a user reads it ("フォルダがありません").
std::string WriteFailureReason(int err);

// Error number for an errno value.
int FileErrorFromErrno(int err);

}  // namespace qf
