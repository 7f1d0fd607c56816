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

// Reserves room for bytes in text, about to be written: a big reservation's
// new pages are mapped at once (MapPages), since a whole-document string
// would otherwise fault once per page as it is filled.
void ReserveLargeText(std::string& text, size_t bytes);

// Maps the pages of [begin, begin + bytes) of memory of our own in one go,
// ahead of writing them; small ranges are left to fault as they are written.
void MapPages(void* begin, size_t bytes);

// Gives the pages of text's storage past its end back to the system (a text
// that shrank in place); they are mapped again, zeroed, if it grows.
void ReleaseUnusedPages(std::string& text);

}  // namespace kerv
