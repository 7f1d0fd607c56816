#pragma once
// Memory for big blocks of text (a loaded document's bytes). Large blocks are
// mapped in one call, so that filling them does not fault page by page.

#include <cstddef>
#include <memory>
#include <string>

namespace kerv {

struct LargeBufferDeleter {
  void operator()(char* bytes) const noexcept;
};
using LargeBuffer = std::unique_ptr<char[], LargeBufferDeleter>;

// Uninitialised bytes; throws std::bad_alloc.
LargeBuffer AllocateLargeBuffer(size_t size);

// Reserves room for bytes in text. A big reservation not yet written to is
// mapped the same way, since a whole-document string would otherwise fault
// once per page as it is filled.
void ReserveLargeText(std::string& text, size_t bytes);

}  // namespace kerv
