#pragma once
// What a web client sends to say who it is, read from its bytes: HTTP Basic
// (programs), a session cookie (the page), the login form's password. Each
// reader takes any bytes and gives nothing for what is not well formed.

#include <optional>
#include <string>
#include <string_view>

namespace web {

// "Basic dXNlcjpwdw==" -> the password after the user's colon (the gateway
// has no users: any user name is taken).
std::optional<std::string> basicPassword(std::string_view authorization);
// The value of one cookie in a Cookie header ("a=1; session=ab12").
std::optional<std::string> cookieValue(std::string_view header, std::string_view name);
// One field of an application/x-www-form-urlencoded body, decoded.
std::optional<std::string> formField(std::string_view body, std::string_view name);
// Standard base64 (with or without padding); nothing when it is not.
std::optional<std::string> base64Decoded(std::string_view text);
// Equal, in a time that does not tell how much of it was.
bool sameSecret(std::string_view a, std::string_view b);

}  // namespace web
