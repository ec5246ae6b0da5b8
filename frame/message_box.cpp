#include "message_box.h"

#include <string>

#include "module.h"

namespace frame {

void ShowMessage(std::wstring_view text, UINT icon) {
  const std::wstring copy(text);
  MessageBoxW(GetActiveWindow(), copy.c_str(), ApplicationTitle(), MB_OK | icon);
}

}  // namespace frame
