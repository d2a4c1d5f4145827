// The system's XmlLite reader, bound at run time, walking a document once for one element.
#include <windows.h>
#include <shlwapi.h>
#include <xmllite.h>

#include "platform/library_loader_win.h"
#include "platform/win_ports.h"

namespace {

using CreateXmlReaderFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

CreateXmlReaderFn BindReader() {
  static const auto create = SystemFunction<CreateXmlReaderFn>("xmllite.dll", "CreateXmlReader");
  return create;
}

template <typename Interface>
struct Com {
  Interface* pointer = nullptr;
  ~Com() {
    if (pointer)
      pointer->Release();
  }
};

std::string Narrow(const wchar_t* text, UINT length) {
  std::string narrow(length * 4, '\0');
  narrow.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), narrow.data(),
                          static_cast<int>(narrow.size()), nullptr, nullptr)));
  return narrow;
}

// Follows the document's elements. Of the elements open, the outer `open_` are the root
// and the path's names so far, each the first child of its name: when one of them closes
// before the whole path was found, the first child of that name did not hold the rest,
// and the document has no such element. The text directly inside the last is gathered.
class PathWalk {
 public:
  explicit PathWalk(const std::vector<std::string>& path) : path_(path) {}

  void Start(const std::string& name, bool empty) {
    const bool on_path = depth_ == open_ && !found_ && !failed_ &&
                         (depth_ == 0 || (open_ <= path_.size() && name == path_[open_ - 1]));
    ++depth_;
    if (on_path)
      open_ = depth_;
    if (on_path && open_ == path_.size() + 1)
      inside_ = true;
    if (empty)
      End();
  }
  void End() {
    if (depth_ == open_) {
      failed_ = failed_ || (!inside_ && !found_);
      found_ = found_ || inside_;
      inside_ = false;
      --open_;
    }
    --depth_;
  }
  void Text(const std::string& text) {
    if (inside_ && depth_ == open_)
      text_ += text;
  }
  std::optional<std::string> Found() const {
    return found_ ? std::optional<std::string>(text_) : std::nullopt;
  }

 private:
  const std::vector<std::string>& path_;
  size_t depth_ = 0;  // elements open now
  size_t open_ = 0;   // of them, those on the path
  bool inside_ = false;
  bool found_ = false;
  bool failed_ = false;
  std::string text_;
};

class WinXmlReader : public XmlReader {
 public:
  std::optional<std::string> ElementText(const std::string& document,
                                         const std::vector<std::string>& path) override {
    const CreateXmlReaderFn create = BindReader();
    Com<IXmlReader> reader;
    Com<IStream> stream{SHCreateMemStream(reinterpret_cast<const BYTE*>(document.data()),
                                          static_cast<UINT>(document.size()))};
    if (!create || !stream.pointer ||
        FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader.pointer), nullptr)) ||
        FAILED(
            reader.pointer->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(reader.pointer->SetInput(stream.pointer)))
      return std::nullopt;
    PathWalk walk(path);
    XmlNodeType type;
    HRESULT result;
    while ((result = reader.pointer->Read(&type)) == S_OK)
      Visit(*reader.pointer, type, walk);
    // A document that breaks off is no document, whatever was found before the break.
    return result == S_FALSE ? walk.Found() : std::nullopt;
  }

 private:
  static void Visit(IXmlReader& reader, XmlNodeType type, PathWalk& walk) {
    const wchar_t* text = nullptr;
    UINT length = 0;
    if (type == XmlNodeType_Element) {
      reader.GetLocalName(&text, &length);
      walk.Start(Narrow(text, length), reader.IsEmptyElement());
    } else if (type == XmlNodeType_EndElement) {
      walk.End();
    } else if (type == XmlNodeType_Text || type == XmlNodeType_CDATA) {
      reader.GetValue(&text, &length);
      walk.Text(Narrow(text, length));
    }
  }
};

}  // namespace

std::unique_ptr<XmlReader> MakeWinXmlReader() {
  return std::make_unique<WinXmlReader>();
}
