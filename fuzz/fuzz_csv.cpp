// Feeds arbitrary bytes to the CSV reader. Reading never crashes; records read whole, written back
// and read again are the same records.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "merge/csv_reader.h"

namespace {

bool ReadAll(std::string bytes, qf::CsvOptions options, std::vector<std::vector<std::string>>* all,
             char* delimiter) {
  qf::CsvError error;
  auto reader = qf::CsvReader::FromBytes(std::move(bytes), "f.csv", options, &error);
  if (!reader) return false;
  *delimiter = reader->delimiter();
  all->push_back(reader->header());
  std::vector<std::string> record;
  while (reader->next(record)) all->push_back(record);
  return !reader->error();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::vector<std::string>> first;
  char delimiter = ',';
  if (!ReadAll(std::string(reinterpret_cast<const char*>(data), size), {}, &first, &delimiter)) {
    return 0;
  }
  std::vector<std::vector<std::string>> again;
  char unused = 0;
  if (!ReadAll(qf::WriteCsv(first, delimiter), {delimiter}, &again, &unused) || again != first) {
    std::abort();
  }
  return 0;
}
