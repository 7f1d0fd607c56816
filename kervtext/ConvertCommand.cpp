// kervtext convert: reads a file in one character code and writes it in
// another, carrying every byte the two codes can carry: control bytes, zero
// bytes and a 0x1A inside the text stay (a single 0x1A as the very last byte,
// the old end-of-file mark, goes), and every line break becomes the target
// return code. Between two Unicode codes the text never passes through
// Shift_JIS, so nothing outside it is lost.
//
// The file is read, converted and written piece by piece, so that its size
// does not matter to the memory used. Detection decides from the first
// bytes where it can; where it cannot (a text that may still be UTF-8), it
// reads to the end first, and the input is read again (a stream's bytes are
// kept for that, in a temporary file once they grow).
//
// Exit status: 0 when everything was carried; 3 when the target code cannot
// hold some characters (one line on standard error counts them; OUT is
// written unless it is IN, which is never overwritten with a lossy result
// unless --lossy is given, and then the status is 0); 1 on any other error.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/CharCode.h"
#include "document/TTextConversion.h"
#include "kervtext/KervTextCommands.h"
#include "kervtext/KervTextSupport.h"
#include "kervtext/PipelinedIo.h"

namespace kerv::cli {
namespace {

constexpr const char* kCommand = "convert";
constexpr int kFailed = 1;
constexpr int kLossy = 3;

constexpr const char* kUsage =
    "usage: kervtext convert [--from auto|sjis|jis|euc|utf16le|utf16be|utf8|utf8n] [--ambiguous sjis|euc]\n"
    "                        --to CODE [--ret crlf|lf|cr] [--no-utf8n] [--lossy] IN OUT   (IN or OUT may be -)";

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::optional<TReturnCode> ParseReturnCode(const std::string& value) {
  std::string name = Lower(value);
  if (name == "crlf") return rcCRLF;
  if (name == "lf") return rcLF;
  if (name == "cr") return rcCR;
  return std::nullopt;
}

int Fail(const std::string& message) {
  PrintError(kCommand, message);
  return kFailed;
}

// Input is read in blocks of this size; detection keeps at most kHeldBytes
// of a stream in memory before it puts them into a temporary file.
constexpr size_t kBlockBytes = size_t{4} << 20;
constexpr size_t kHeldBytes = size_t{16} << 20;
// Blocks of the reading and writing threads (each keeps three in its queue).
constexpr size_t kReadBytes = size_t{1} << 20;
constexpr size_t kWriteBytes = size_t{1} << 20;

using Loss = TConversionLoss;

// Closes a descriptor the command opened.
struct FdCloser {
  int fd;
  bool owned;
  ~FdCloser() {
    if (owned) ::close(fd);
  }
};

// Standard output, written as it comes and checked to its final close.
void WriteStandardOutput(std::string_view data) {
  while (!data.empty()) {
    ssize_t written = ::write(STDOUT_FILENO, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw EFileError(EFileError::Kind::Write, "standard output", errno);
    }
    data.remove_prefix(static_cast<size_t>(written));
  }
}

void CloseStandardOutput() {
  // Closing a duplicate reports the errors that only the final close sees.
  int duplicate = ::dup(STDOUT_FILENO);
  if (duplicate >= 0 && ::close(duplicate) != 0) throw EFileError(EFileError::Kind::Write, "standard output", errno);
}

// The bytes a detection has read, to be converted after it: kept in
// memory, then in a temporary file; or, for a regular file, read again.
class HeldInput {
 public:
  explicit HeldInput(bool seekable) : seekable_(seekable) {}
  ~HeldInput() {
    if (spill_ != nullptr) std::fclose(spill_);
  }
  HeldInput(const HeldInput&) = delete;
  HeldInput& operator=(const HeldInput&) = delete;

  void Keep(std::string_view bytes) {
    if (rereads_) return;
    if (spill_ == nullptr && heldBytes_ + bytes.size() <= kHeldBytes) {
      blocks_.emplace_back(bytes);
      heldBytes_ += bytes.size();
      return;
    }
    if (seekable_) {
      // Cheaper to read again than to keep.
      rereads_ = true;
      blocks_.clear();
      return;
    }
    if (spill_ == nullptr) {
      spill_ = std::tmpfile();
      if (spill_ == nullptr) throw EFileError(EFileError::Kind::Write, "temporary file", errno);
      for (const std::string& block : blocks_) Spill(block);
      blocks_.clear();
    }
    Spill(bytes);
  }
  bool Rereads() const { return rereads_; }
  // Hands the kept bytes over in order and forgets them.
  template <typename Use>
  void Replay(Use use) {
    for (const std::string& block : blocks_) use(std::string_view(block));
    blocks_.clear();
    if (spill_ == nullptr) return;
    if (std::fflush(spill_) != 0 || std::fseek(spill_, 0, SEEK_SET) != 0) {
      throw EFileError(EFileError::Kind::Read, "temporary file", errno);
    }
    std::string block(kBlockBytes, '\0');
    for (size_t got; (got = std::fread(block.data(), 1, block.size(), spill_)) > 0;) use(std::string_view(block.data(), got));
    if (std::ferror(spill_)) throw EFileError(EFileError::Kind::Read, "temporary file", errno);
  }

 private:
  void Spill(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), spill_) != bytes.size()) {
      throw EFileError(EFileError::Kind::Write, "temporary file", errno);
    }
  }

  bool seekable_;
  bool rereads_ = false;
  std::vector<std::string> blocks_;
  size_t heldBytes_ = 0;
  FILE* spill_ = nullptr;
};

std::string LossLine(const std::string& inName, const Loss& loss, TCharCode to) {
  std::string line = inName + ": " + Plural(loss.Count(), "character") + " cannot be carried into " + CharCodeName(to);
  if (loss.firstLine > 0) line += " (first on line " + std::to_string(loss.firstLine) + ")";
  std::string what;
  auto add = [&what](const std::string& part) { what += (what.empty() ? ": " : ", ") + part; };
  if (loss.replaced != 0) add(std::to_string(loss.replaced) + " became '?'");
  if (loss.widened != 0) add(std::to_string(loss.widened) + " half-width katakana became full-width");
  if (loss.oddByte) add("the odd last byte was dropped");
  return line + what;
}

}  // namespace

int RunConvert(const Args& args) {
  TCharCode from = ccAuto;
  std::optional<TCharCode> to;
  std::optional<TReturnCode> returnCode;
  bool ambiguousIsEuc = false;
  bool utf8nCheck = true;
  bool lossyAllowed = false;
  std::vector<std::string> files;

  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--no-utf8n") {
      utf8nCheck = false;
      continue;
    }
    if (arg == "--lossy") {
      lossyAllowed = true;
      continue;
    }
    // "--name value", "--name=value" and iconv's "-f value", "-t value".
    std::string name = arg, value;
    bool hasValue = false;
    if (size_t equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
      hasValue = true;
    }
    if (name == "-f") name = "--from";
    if (name == "-t") name = "--to";
    if (name != "--from" && name != "--to" && name != "--ambiguous" && name != "--ret") {
      return Fail("unknown option '" + arg + "'\n" + kUsage);
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) return Fail("option '" + name + "' needs a value\n" + kUsage);
      value = args[++i];
    }
    if (name == "--from") {
      std::optional<TCharCode> code = ParseCharCode(value, true);
      if (!code) return Fail("unknown code '" + value + "' for --from (auto sjis jis euc utf16le utf16be utf8 utf8n)");
      from = *code;
    } else if (name == "--to") {
      to = ParseCharCode(value, false);
      if (!to) return Fail("unknown code '" + value + "' for --to (sjis jis euc utf16le utf16be utf8 utf8n)");
    } else if (name == "--ambiguous") {
      std::string lower = Lower(value);
      if (lower != "sjis" && lower != "euc") return Fail("--ambiguous takes sjis or euc, not '" + value + "'");
      ambiguousIsEuc = lower == "euc";
    } else {
      returnCode = ParseReturnCode(value);
      if (!returnCode) return Fail("--ret takes crlf, lf or cr, not '" + value + "'");
    }
  }
  if (!to) return Fail(std::string("--to CODE is required\n") + kUsage);
  if (files.size() != 2) return Fail(std::string("expected IN and OUT\n") + kUsage);
  const std::string& in = files[0];
  const std::string& out = files[1];
  const std::string inName = in == "-" ? "standard input" : in;

  Loss loss;
  try {
    CliPlatform platform;
    CliFileManager manager(platform.fs, platform.codePage, platform.dialogs, ambiguousIsEuc);
    // IN may be a pipe it was told to read (a FIFO, standard input).
    const int fd = in == "-" ? STDIN_FILENO : platform.fs.OpenStream(in, true);
    FdCloser closer{fd, in != "-"};
    struct stat info;
    const bool seekable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const off_t start = seekable ? ::lseek(fd, 0, SEEK_CUR) : -1;
    std::string block(kBlockBytes, '\0');
    auto readBlock = [&]() {
      return std::string_view(block.data(), PosixFileSystem::ReadSome(fd, block.data(), block.size(), inName));
    };

    TCharCode code = from;
    HeldInput held(seekable && start >= 0);
    bool readAll = false;
    if (from == ccAuto) {
      TCodeDetector detector(utf8nCheck);
      while (!detector.Decided()) {
        std::string_view got = readBlock();
        if (got.empty()) {
          detector.Finish();
          readAll = true;
          break;
        }
        detector.Feed(got);
        held.Keep(got);
      }
      code = manager.ResolveDetected(detector.Result());
    }

    std::optional<PosixFileWriter> file;
    if (out != "-") file.emplace(platform.fs, out);
    // Declared after file: it writes into it until it is gone.
    WriteBehind writer(
        [&file](std::string_view data) {
          if (file) {
            file->Write(data);
          } else {
            WriteStandardOutput(data);
          }
        },
        kWriteBytes);
    TTextConversion conversion(platform.codePage, code, *to, returnCode.value_or(rcNone));
    const TTextConversion::Sink sink = [&writer](std::string_view data) { writer.Put(data); };
    if (held.Rereads()) {
      if (::lseek(fd, start, SEEK_SET) != start) throw EFileError(EFileError::Kind::Read, inName, errno);
      readAll = false;
    } else {
      held.Replay([&](std::string_view bytes) { conversion.Feed(bytes, sink); });
    }
    if (!readAll && seekable) {
      // A regular file never blocks a read, so the thread always comes to an end.
      ReadAhead reader([&](char* data, size_t size) { return PosixFileSystem::ReadSome(fd, data, size, inName); },
                       kReadBytes);
      for (std::string_view got; !(got = reader.Next()).empty();) conversion.Feed(got, sink);
    } else if (!readAll) {
      for (std::string_view got; !(got = readBlock()).empty();) conversion.Feed(got, sink);
    }
    conversion.Finish(sink);
    writer.Finish();
    loss = conversion.Loss();

    if (loss.Count() != 0 && !lossyAllowed && platform.fs.SameFile(in, out)) {
      if (file) file->Discard();
      PrintError(kCommand, LossLine(inName, loss, *to) + "; " + in +
                               " left as it was (a lossy result never replaces IN; --lossy writes it anyway)");
      return kLossy;
    }
    if (file) {
      file->Commit();
    } else {
      CloseStandardOutput();
    }
  } catch (const std::exception& error) {  // EFileError names the file and the reason
    return Fail(error.what());
  }
  if (loss.Count() != 0) {
    PrintError(kCommand, (lossyAllowed ? "warning: " : "") + LossLine(inName, loss, *to));
    return lossyAllowed ? 0 : kLossy;
  }
  return 0;
}

}  // namespace kerv::cli
