#include "app/win32/accessible.h"

#include "app/captions.h"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>
#include <new>
#include <string>
#include <utility>

namespace tarnwick::win32 {

namespace {

// UI Automation's live setting, for annotating a control (the Windows 7 headers lack it).
constexpr GUID liveSettingProperty
    = { 0xc12bcd8e, 0x2a8e, 0x4950, { 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb } };
constexpr LONG politeLiveSetting = 1;
// The event of a live region whose content changed, which Windows 8 and later know (the Windows 7
// headers lack it).
constexpr DWORD liveRegionChanged = 0x8019;

// oleacc's type library (linking its declared name pulls in two definitions of it).
constexpr GUID accessibilityLibrary
    = { 0x1ea4dbf0, 0x3c3b, 0x11cf, { 0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71 } };

// The name a control needs beyond its standard proxy's: the proxy names a field by the caption
// label stacked just above it and every other control by its text.
std::u16string ownName(const ControlRow &row)
{
    if (row.kind == Kind::TextField && !row.captionedBy.empty()
        && controlRow(row.captionedBy).kind == Kind::Label)
        return {};
    return accessibleName(row);
}

bool isSelf(const VARIANT &child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT answer(const std::u16string &text, BSTR *out)
{
    if (out == nullptr)
        return E_INVALIDARG;
    *out = SysAllocStringLen(reinterpret_cast<const OLECHAR *>(text.data()), // NOLINT: UTF-16
        static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// IAccessible's type description, from oleacc's registered type library; null where there is
// none. Kept for the process's life: it is free-threaded and costs one load.
ITypeInfo *accessibleTypeInfo()
{
    static ITypeInfo *const info = [] {
        ITypeLib *library = nullptr;
        ITypeInfo *found = nullptr;
        if (SUCCEEDED(LoadRegTypeLib(accessibilityLibrary, 1, 1, LOCALE_NEUTRAL, &library))) {
            library->GetTypeInfoOfGuid(__uuidof(IAccessible), &found);
            library->Release();
        }
        return found;
    }();
    return info;
}

// The control that the objects made for it speak for, until it is destroyed.
struct Link
{
    HWND control;
};

// A control's own accessible object: its name or description where it has one, everything
// else asked of the control's standard proxy. It is its own COM identity and hands out only
// what it implements (IUnknown, IDispatch, IAccessible, IOleWindow): never the proxy's
// IServiceProvider, through which the proxy tells UI Automation that it is the proxy, so that
// UI Automation would read the proxy instead. Once the control is destroyed, every call fails
// with RPC_E_DISCONNECTED and the proxy is let go.
class Accessible final : public IAccessible, public IOleWindow
{
public:
    Accessible(std::shared_ptr<const Link> link, IAccessible *standard, std::u16string name,
        std::u16string description)
        : link_(std::move(link))
        , standard_(standard)
        , name_(std::move(name))
        , description_(std::move(description))
    { }
    Accessible(const Accessible &) = delete;
    Accessible &operator=(const Accessible &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible))
            *object = static_cast<IAccessible *>(this);
        else if (id == __uuidof(IOleWindow))
            *object = static_cast<IOleWindow *>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND *window) override
    {
        if (window == nullptr)
            return E_POINTER;
        *window = link_->control;
        return *window != nullptr ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL /*enter*/) override { return E_NOTIMPL; }

    // IDispatch, on this object's own methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        if (count == nullptr)
            return E_POINTER;
        *count = accessibleTypeInfo() != nullptr ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID /*locale*/, ITypeInfo **info) override
    {
        if (info == nullptr)
            return E_POINTER;
        *info = index == 0 ? accessibleTypeInfo() : nullptr;
        if (*info == nullptr)
            return index == 0 ? E_NOTIMPL : DISP_E_BADINDEX;
        (*info)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(
        REFIID /*id*/, LPOLESTR *names, UINT count, LCID /*locale*/, DISPID *ids) override
    {
        ITypeInfo *info = accessibleTypeInfo();
        return info != nullptr ? DispGetIDsOfNames(info, names, count, ids) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID /*id*/, LCID /*locale*/, WORD flags,
        DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *exception, UINT *wrong) override
    {
        ITypeInfo *info = accessibleTypeInfo();
        if (info == nullptr)
            return E_NOTIMPL;
        return DispInvoke(static_cast<IAccessible *>(this), info, member, flags, parameters, result,
            exception, wrong);
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        if (isSelf(child) && !name_.empty())
            return connected() ? answer(name_, name) : disconnected(name);
        return ask([&](IAccessible &proxy) { return proxy.get_accName(child, name); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override
    {
        if (isSelf(child) && !description_.empty())
            return connected() ? answer(description_, description) : disconnected(description);
        return ask(
            [&](IAccessible &proxy) { return proxy.get_accDescription(child, description); });
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accParent(parent); });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accChildCount(count); });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accChild(child, object); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accValue(child, value); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accRole(child, role); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accState(child, state); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accHelp(child, help); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, LONG *topic) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accHelpTopic(file, child, topic); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override
    {
        return ask(
            [&](IAccessible &proxy) { return proxy.get_accKeyboardShortcut(child, shortcut); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accFocus(child); });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accSelection(children); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        return ask([&](IAccessible &proxy) { return proxy.get_accDefaultAction(child, action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return ask([&](IAccessible &proxy) { return proxy.accSelect(flags, child); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(
        LONG *left, LONG *top, LONG *width, LONG *height, VARIANT child) override
    {
        return ask(
            [&](IAccessible &proxy) { return proxy.accLocation(left, top, width, height, child); });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT *end) override
    {
        return ask([&](IAccessible &proxy) { return proxy.accNavigate(direction, start, end); });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT *child) override
    {
        return ask([&](IAccessible &proxy) { return proxy.accHitTest(left, top, child); });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return ask([&](IAccessible &proxy) { return proxy.accDoDefaultAction(child); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return ask([&](IAccessible &proxy) { return proxy.put_accName(child, name); });
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return ask([&](IAccessible &proxy) { return proxy.put_accValue(child, value); });
    }

private:
    ~Accessible()
    {
        if (standard_ != nullptr)
            standard_->Release();
    }

    // Whether the control still exists; the proxy is let go once it does not.
    bool connected()
    {
        if (link_->control == nullptr && standard_ != nullptr) {
            standard_->Release();
            standard_ = nullptr;
        }
        return standard_ != nullptr;
    }
    template <typename Out>
    static HRESULT disconnected(Out *out)
    {
        if (out != nullptr)
            *out = nullptr;
        return RPC_E_DISCONNECTED;
    }
    // The proxy's answer while the control exists.
    template <typename Call>
    HRESULT ask(const Call &call)
    {
        return connected() ? call(*standard_) : RPC_E_DISCONNECTED;
    }

    LONG references_ = 1;
    std::shared_ptr<const Link> link_;
    IAccessible *standard_;
    std::u16string name_;
    std::u16string description_;
};

// What a control that answers for itself keeps: its table row, and the link its objects share.
struct Answering
{
    const ControlRow *row;
    std::shared_ptr<Link> link;
};

// The accessible object of the control, in the form WM_GETOBJECT returns it; 0 where none, so
// that the system answers with its standard proxy.
LRESULT accessibleObject(const Answering &answering, WPARAM flags)
{
    IAccessible *standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(answering.link->control, OBJID_CLIENT,
            __uuidof(IAccessible), reinterpret_cast<void **>(&standard)))) // NOLINT: COM's out
        return 0;
    auto *object = new (std::nothrow) Accessible(
        answering.link, standard, ownName(*answering.row), accessibleDescription(*answering.row));
    if (object == nullptr) {
        standard->Release();
        return 0;
    }
    const LRESULT result
        = LresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible *>(object));
    object->Release();
    return SUCCEEDED(static_cast<HRESULT>(result)) ? result : 0;
}

LRESULT CALLBACK answerFor(
    HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR data)
{
    auto *answering = reinterpret_cast<Answering *>(data); // NOLINT: set with the subclass
    switch (message) {
    case WM_GETOBJECT:
        if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)
            && answering->link->control != nullptr)
            return accessibleObject(*answering, wParam);
        break;
    case WM_DESTROY:
        answering->link->control = nullptr;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, answerFor, 0);
        delete answering; // NOLINT: owned by the subclass
        break;
    default:
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

void answerScreenReaders(std::span<const HWND> controls)
{
    for (std::size_t index = 0; index < controlTable.size(); ++index) {
        const ControlRow &row = controlTable[index];
        if (ownName(row).empty() && accessibleDescription(row).empty())
            continue;
        auto *answering = new (std::nothrow) Answering { &row, std::make_shared<Link>() };
        if (answering == nullptr)
            continue;
        answering->link->control = controls[index];
        if (SetWindowSubclass(controls[index], answerFor, 0,
                reinterpret_cast<DWORD_PTR>(answering)) // NOLINT: Win32's data
            == FALSE)
            delete answering; // NOLINT: not taken
    }
}

void makeLiveRegion(HWND resultLabel)
{
    IAccPropServices *services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
            IID_IAccPropServices, reinterpret_cast<void **>(&services)))) // NOLINT: COM's out
        return;
    VARIANT polite {};
    polite.vt = VT_I4;
    polite.lVal = politeLiveSetting;
    services->SetHwndProp(resultLabel, OBJID_CLIENT, CHILDID_SELF, liveSettingProperty, polite);
    services->Release();
}

void announce(HWND resultLabel)
{
    NotifyWinEvent(liveRegionChanged, resultLabel, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace tarnwick::win32
