#include "standin_page.h"

#include <vector>

#include "frame/com_object.h"

namespace standin {
namespace {

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = towlower(c);
  return s;
}

std::wstring PercentDecode(const std::wstring& s) {
  std::string bytes;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'%' && i + 2 < s.size() && iswxdigit(s[i + 1]) && iswxdigit(s[i + 2])) {
      bytes += char(std::stoi(std::wstring(s.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      // Keep other characters as UTF-8 so that decoded bytes and text mix.
      char buffer[8];
      int n = WideCharToMultiByte(CP_UTF8, 0, &s[i], 1, buffer, sizeof buffer, nullptr, nullptr);
      bytes.append(buffer, n);
    }
  }
  std::wstring out(bytes.size(), L'\0');
  out.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), out.data(), int(out.size())));
  return out;
}

// Reads a whole single-quoted script string; false when it is not exactly one.
bool ReadStringLiteral(const std::wstring& s, std::wstring& value) {
  if (s.size() < 2 || s.front() != L'\'') return false;
  value.clear();
  for (size_t i = 1; i < s.size(); ++i) {
    wchar_t c = s[i];
    if (c == L'\'') return i + 1 == s.size();
    if (c == L'\r' || c == L'\n') return false;
    if (c == L'\\') {
      if (++i == s.size()) return false;
      switch (s[i]) {
        case L'n': value += L'\n'; break;
        case L'r': value += L'\r'; break;
        case L't': value += L'\t'; break;
        default: value += s[i]; break;
      }
      continue;
    }
    value += c;
  }
  return false;
}

std::wstring Between(const std::wstring& html, const std::wstring& open, const std::wstring& close) {
  std::wstring lower = Lower(html);
  size_t a = lower.find(open);
  if (a == std::wstring::npos) return {};
  a = lower.find(L'>', a);
  if (a == std::wstring::npos) return {};
  size_t b = lower.find(close, a + 1);
  return html.substr(a + 1, b == std::wstring::npos ? std::wstring::npos : b - a - 1);
}

// An object of the document model: members by name, each answered by Call.
class Node : public frame::SimpleObject<IDispatch, &IID_IDispatch> {
 public:
  Node(std::shared_ptr<Page> page, std::vector<const wchar_t*> names)
      : page_(std::move(page)), names_(std::move(names)) {}

  STDMETHODIMP GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (size_t k = 0; k < names_.size(); ++k)
      if (_wcsicmp(names[0], names_[k]) == 0) ids[0] = DISPID(k + 1);
    return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    if (id < 1 || size_t(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
    VARIANT ignored;
    VariantInit(&ignored);
    HRESULT hr = Call(names_[id - 1], flags, params, result ? result : &ignored);
    VariantClear(&ignored);
    return hr;
  }

 protected:
  virtual HRESULT Call(std::wstring_view name, WORD flags, DISPPARAMS* params, VARIANT* result) = 0;
  static HRESULT Object(IDispatch* node, VARIANT* result) {
    result->vt = VT_DISPATCH;
    result->pdispVal = node;
    return S_OK;
  }
  static HRESULT Text(const std::wstring& s, VARIANT* result) {
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(s.data(), UINT(s.size()));
    return S_OK;
  }
  // Argument `i` (in declared order) as text.
  static bool TextArg(DISPPARAMS* params, UINT i, std::wstring& out) {
    if (!params || i >= params->cArgs) return false;
    VARIANT v;
    VariantInit(&v);
    if (FAILED(VariantChangeType(&v, &params->rgvarg[params->cArgs - 1 - i], 0, VT_BSTR))) return false;
    out.assign(v.bstrVal, SysStringLen(v.bstrVal));
    VariantClear(&v);
    return true;
  }
  std::shared_ptr<Page> page_;

 private:
  std::vector<const wchar_t*> names_;
};

class Screen final : public Node {
 public:
  explicit Screen(std::shared_ptr<Page> p) : Node(std::move(p), {L"availWidth", L"availHeight"}) {}
  HRESULT Call(std::wstring_view name, WORD, DISPPARAMS*, VARIANT* result) override {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    page_->record(std::wstring(name));
    result->vt = VT_I4;
    result->lVal = name == L"availWidth" ? work.right - work.left : work.bottom - work.top;
    return S_OK;
  }
};

class Window final : public Node {
 public:
  explicit Window(std::shared_ptr<Page> p) : Node(std::move(p), {L"screen"}) {}
  HRESULT Call(std::wstring_view, WORD, DISPPARAMS*, VARIANT* result) override {
    return Object(new Screen(page_), result);
  }
};

class Body final : public Node {
 public:
  explicit Body(std::shared_ptr<Page> p) : Node(std::move(p), {L"innerHTML", L"insertAdjacentHTML"}) {}
  HRESULT Call(std::wstring_view name, WORD flags, DISPPARAMS* params, VARIANT* result) override {
    std::wstring html;
    if (name == L"insertAdjacentHTML") {
      std::wstring where;
      if (!TextArg(params, 0, where) || !TextArg(params, 1, html)) return DISP_E_BADPARAMCOUNT;
      if (_wcsicmp(where.c_str(), L"beforeEnd") != 0) return E_INVALIDARG;
      page_->record(L"insertAdjacentHTML");
      page_->body += html;
      page_->changed();
      return S_OK;
    }
    if (flags & DISPATCH_PROPERTYPUT) {
      if (!TextArg(params, 0, html)) return DISP_E_BADPARAMCOUNT;
      page_->record(L"innerHTML=");
      page_->body = html;
      page_->changed();
      return S_OK;
    }
    return Text(page_->body, result);
  }
};

class Document final : public Node {
 public:
  explicit Document(std::shared_ptr<Page> p) : Node(std::move(p), {L"body", L"parentWindow", L"title"}) {}
  HRESULT Call(std::wstring_view name, WORD, DISPPARAMS*, VARIANT* result) override {
    if (name == L"body") return Object(new Body(page_), result);
    if (name == L"title") return Text(page_->title, result);
    return Object(new Window(page_), result);
  }
};

}  // namespace

bool LoadPage(Page& page, const std::wstring& address) {
  page.title.clear();
  page.body.clear();
  constexpr std::wstring_view scheme = L"javascript:";
  if (Lower(address.substr(0, scheme.size())) != scheme) {
    page.title = address;
    return true;
  }
  std::wstring html;
  if (!ReadStringLiteral(PercentDecode(address.substr(scheme.size())), html)) return false;
  page.title = Between(html, L"<title", L"</title>");
  page.body = Between(html, L"<body", L"</body>");
  return true;
}

IDispatch* NewDocument(std::shared_ptr<Page> page) { return new Document(std::move(page)); }

}  // namespace standin
