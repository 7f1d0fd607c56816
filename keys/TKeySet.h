#pragma once
// A key set's file: an ini-style file whose section Data holds the key table
// as hexadecimal digits under KeySet, with a type mark in its header. Other
// sections and keys of the file survive a rewrite.

#include <stdexcept>
#include <string>

#include "document/TIniFile.h"
#include "keys/TKeyTable.h"
#include "platform/FileSystem.h"

namespace kerv {

// Raised when a key-set file would be written over while it holds no intact
// key set: whatever it holds is kept for the user to look at.
class EKeySetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TKeySetLoadStatus {
  Loaded,    // the file's table
  Defaults,  // no file (or the built-in set asked for): the built-in set
  Damaged,   // the file cannot be used: the built-in set, and error says why
};

struct TKeySetLoadResult {
  TKeySetLoadStatus status = TKeySetLoadStatus::Defaults;
  // For Damaged: the file, what is wrong and that the built-in set is used (UTF-8).
  std::string error;
  bool Loaded() const { return status == TKeySetLoadStatus::Loaded; }
};

class TKeySet {
 public:
  explicit TKeySet(IFileSystem& fs) : fs_(fs) {}
  virtual ~TKeySet() = default;
  TKeySet(const TKeySet&) = delete;
  TKeySet& operator=(const TKeySet&) = delete;

  // Reads the file's table; a missing or damaged file gives the built-in set
  // (FillDefaults). AfterLoad runs in every case. Never writes anything.
  TKeySetLoadResult Load(const std::string& fileName, TKeyTable& table);
  // Writes the header and the table into the file, keeping everything else
  // it holds. Raises EFileError when it cannot be read or written, and
  // EKeySetError when it exists but holds no intact key set.
  void Save(const std::string& fileName, const TKeyTable& table);

 protected:
  virtual void AfterLoad(TKeyTable& table) = 0;
  virtual void WriteHeader(TIniFile& ini);
  virtual bool CheckHeader(const TIniFile& ini);
  virtual void FillDefaults(TKeyTable& table) = 0;

  // What stands in the way of reading ini as a key set, as a message (empty when intact).
  std::string Examine(const TIniFile& ini, TKeyTable* table);
  // The Save of an ini already in memory; existing says it holds a file's
  // text, which must then be an intact key set.
  void SaveIni(TIniFile& ini, const TKeyTable& table, bool existing);

  IFileSystem& fs_;
};

}  // namespace kerv
