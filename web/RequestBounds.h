#pragma once
// How much a web client may send for one request, decided as its bytes
// arrive, before anything is kept: a head (request line and headers) of at
// most 8 KiB, a body of at most 16 KiB, said by its Content-Length (a body
// of another kind is refused). Requests one after the other on a connection
// are each counted from their own start.

#include <cstddef>
#include <string_view>

namespace web {

inline constexpr std::size_t kMostHeadBytes = 8 * 1024;
inline constexpr std::size_t kMostBodyBytes = 16 * 1024;

class RequestBounds {
  public:
    enum class Verdict { Within, HeadTooLarge, BodyTooLarge };
    // The bytes that came; once beyond a bound, the verdict stays.
    Verdict take(std::string_view bytes);

  private:
    void headEnded();

    Verdict verdict_ = Verdict::Within;
    bool inHead_ = true;
    std::size_t headBytes_ = 0;
    std::size_t bodyLeft_ = 0;
    std::string_view::size_type matched_ = 0;  // of "\r\n\r\n" so far
    char head_[kMostHeadBytes];
};

}  // namespace web
