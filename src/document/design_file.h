#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <optional>
#include "design.h"
#include "file_io.h"
#include "measure.h"
#include "object_record.h"

namespace qf {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 5;
inline constexpr int kVersionRevision = 4;

// Design files larger than this are refused rather than read into memory.
inline constexpr size_t kMaxDesignFileBytes = size_t{256} << 20;

// The design file as CP932 bytes with CR LF line ends. Refuses (and produces nothing) when a
// text holds a character code page 932 cannot hold, naming the row and the character.
FileStatus SerializeDesign(const Design& design, std::string& bytes);

// What loading decides besides the design itself.
struct LoadDecisions {
  ObjectRecord lastObject;  // the last object read: the working object after a load
  // The layer of the last object read (1 for a file without layers); none when the file left
  // the current layer as it was (layers but no objects).
  std::optional<int16_t> currentLayer;
  // Set when the file ends before the objects it declares: how many of them were read (the row
  // the file ends in is dropped, never completed from the row before). Empty otherwise.
  std::string warning;
  // The file ends before its last object: what was read is not the whole design.
  bool cutOff = false;
};

// Builds a design from design-file bytes. Bytes that hold no design at all (nothing but blanks,
// or no version line first) are refused with kErrNotADesign. On success `design` is replaced (and
// `decided` filled when given); on failure nothing changes. Page settings missing from a short file
// keep the values `design` had.
FileStatus ParseDesign(std::string_view bytes, Design& design, const Measurers& measurers,
                       LoadDecisions* decided = nullptr);

// Writes the design file atomically: a failure leaves any previous file untouched.
FileStatus SaveDesign(const Design& design, const std::filesystem::path& path);
// Reads a design file; on failure the open design is left as it was.
FileStatus LoadDesign(const std::filesystem::path& path, Design& design, const Measurers& measurers,
                      LoadDecisions* decided = nullptr);

}  // namespace qf
