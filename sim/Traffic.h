#pragma once
// Helpers for the simulator's traffic: the printable log form of bytes and
// the cutting of replies into chunks.

#include <string>
#include <string_view>
#include <vector>

namespace sim {

// Printable ASCII as it is; control bytes by name ("<CR>", "<ACK>"), DEL as
// "<DEL>", bytes above 0x7F as "<0xNN>", '<' itself as "<<>".
std::string printable(std::string_view bytes);

// Pieces of at most `size` bytes; the whole text when size is 0.
std::vector<std::string> chunksOf(const std::string& bytes, std::size_t size);

}  // namespace sim
