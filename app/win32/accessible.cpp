#include "app/win32/accessible.h"

#include "app/captions.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>
#include <string>
#include <utility>

namespace tarnwick::win32 {

namespace {

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

// The standard proxy of a control with its name or description in place of the proxy's own;
// everything else is the proxy's. Other interfaces (IEnumVARIANT, IOleWindow) are the proxy's.
class Accessible final : public IAccessible
{
public:
    Accessible(IAccessible *standard, std::u16string name, std::u16string description)
        : standard_(standard)
        , name_(std::move(name))
        , description_(std::move(description))
    { }
    Accessible(const Accessible &) = delete;
    Accessible &operator=(const Accessible &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        return standard_->QueryInterface(id, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        if (isSelf(child) && !name_.empty())
            return answer(name_, name);
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override
    {
        if (isSelf(child) && !description_.empty())
            return answer(description_, description);
        return standard_->get_accDescription(child, description);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override
    {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(
        REFIID id, LPOLESTR *names, UINT count, LCID locale, DISPID *ids) override
    {
        return standard_->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
        DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *exception, UINT *wrong) override
    {
        return standard_->Invoke(member, id, locale, flags, parameters, result, exception, wrong);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override
    {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override
    {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override
    {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, LONG *topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override
    {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override
    {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(
        LONG *left, LONG *top, LONG *width, LONG *height, VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT *end) override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT *child) override
    {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    ~Accessible() { standard_->Release(); }

    LONG references_ = 1;
    IAccessible *standard_;
    std::u16string name_;
    std::u16string description_;
};

// The accessible object of the control, in the form WM_GETOBJECT returns it; 0 where none.
LRESULT accessibleObject(HWND control, const ControlRow &row, WPARAM flags)
{
    IAccessible *standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
            reinterpret_cast<void **>(&standard)))) // NOLINT: COM's out parameter
        return 0;
    auto *object
        = new (std::nothrow) Accessible(standard, ownName(row), accessibleDescription(row));
    if (object == nullptr) {
        standard->Release();
        return 0;
    }
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), flags, object);
    object->Release();
    return result;
}

LRESULT CALLBACK answerFor(
    HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR rowData)
{
    const auto &row = *reinterpret_cast<const ControlRow *>(rowData); // NOLINT: a table row
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT))
        return accessibleObject(control, row, wParam);
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(control, answerFor, 0);
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    // A label named by its text has a new name; not every system says so by itself (Wine).
    if (message == WM_SETTEXT && result != FALSE && namedByItsText(row))
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
    return result;
}

} // namespace

void answerScreenReaders(HWND control, const ControlRow &row)
{
    if (ownName(row).empty() && accessibleDescription(row).empty())
        return;
    SetWindowSubclass(control, answerFor, 0, reinterpret_cast<DWORD_PTR>(&row)); // NOLINT
}

} // namespace tarnwick::win32
