// Exceptions of the core: a UTF-8 message, and the one list-index error every list raises.
#pragma once

#include <exception>
#include <string>

namespace tesvarin {

class Exception : public std::exception {
public:
  explicit Exception(std::string Message) : FMessage(std::move(Message)) {}
  [[nodiscard]] const char* what() const noexcept override { return FMessage.c_str(); }
  [[nodiscard]] const std::string& Message() const noexcept { return FMessage; }

private:
  std::string FMessage;  // UTF-8
};

inline constexpr const char* ListIndexErrorMessage = "リストのインデックスが範囲を超えています";

class EListError : public Exception {
public:
  EListError() : Exception(ListIndexErrorMessage) {}
};

[[noreturn]] inline void ListIndexError() { throw EListError(); }

// An encoding conversion that could not be made without loss.
class EConvertError : public Exception {
public:
  using Exception::Exception;
};

}  // namespace tesvarin

namespace tesvarin {

// A file that could not be opened, read or written; the message names the path and the reason.
class EInOutError : public Exception {
public:
  EInOutError(std::string Message, int ErrorCode) : Exception(std::move(Message)), FErrorCode(ErrorCode) {}
  [[nodiscard]] int ErrorCode() const noexcept { return FErrorCode; }

private:
  int FErrorCode;
};

// Raises EInOutError "What: Path (reason of Err)".
[[noreturn]] void RaiseInOutError(const std::string& What, const std::string& Path, int Err);

}  // namespace tesvarin
