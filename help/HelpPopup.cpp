// The help pop-up: Windows.UI.Popups.MessageDialog reached from a desktop
// program through its activation factory, and the help text behind the control panel's "?" button.
#include "help/HelpPopup.h"

#include <inspectable.h>
#include <roapi.h>
#include <shobjidl.h>
#include <winstring.h>

#include "framework/ModuleState.h"
#include "framework/Scoped.h"
#include "res/resource.h"

namespace {

// The two runtime interfaces used here, declared from their documented
// layouts (the toolchain's headers have no Windows.UI.Popups).
struct IMessageDialog : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE get_Title(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Title(HSTRING value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Commands(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DefaultCommandIndex(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DefaultCommandIndex(UINT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CancelCommandIndex(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CancelCommandIndex(UINT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Content(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Content(HSTRING value) = 0;
    // The result is an IAsyncOperation<IUICommand>; only released here.
    virtual HRESULT STDMETHODCALLTYPE ShowAsync(IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Options(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Options(UINT32 value) = 0;
};

struct IMessageDialogFactory : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE Create(HSTRING content, IMessageDialog** dialog) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateWithTitle(HSTRING content, HSTRING title, IMessageDialog** dialog) = 0;
};

constexpr IID IID_IMessageDialogFactory = {
    0x2D161777, 0xA66F, 0x4EA5, {0xBB, 0x87, 0x79, 0x3F, 0xFA, 0x49, 0x41, 0xF2}};

class RuntimeString
{
public:
    explicit RuntimeString(const CString& s)
    {
        m_hr = ::WindowsCreateString(s, static_cast<UINT32>(s.GetLength()), &m_h);
    }
    RuntimeString(const RuntimeString&) = delete;
    RuntimeString& operator=(const RuntimeString&) = delete;
    ~RuntimeString() { ::WindowsDeleteString(m_h); }   // null (empty) is fine
    HRESULT Result() const { return m_hr; }
    operator HSTRING() const { return m_h; }

private:
    HSTRING m_h = nullptr;
    HRESULT m_hr = S_OK;
};

}   // namespace

HRESULT ShowHelpPopup(HWND owner, CString text)
{
    RuntimeString title(AfxGetModuleState()->m_lpszCurrentAppName);
    RuntimeString content(text);
    if (FAILED(title.Result())) return title.Result();
    if (FAILED(content.Result())) return content.Result();

    RuntimeString classId(CString(L"Windows.UI.Popups.MessageDialog"));
    if (FAILED(classId.Result())) return classId.Result();

    CComRef<IMessageDialogFactory> factory;
    HRESULT hr = ::RoGetActivationFactory(classId, IID_IMessageDialogFactory, factory.AsVoid());
    if (FAILED(hr)) return hr;

    CComRef<IMessageDialog> dialog;
    hr = factory->CreateWithTitle(content, title, &dialog);
    if (FAILED(hr)) return hr;

    CComRef<IInitializeWithWindow> init;
    hr = dialog->QueryInterface(__uuidof(IInitializeWithWindow), init.AsVoid());
    if (FAILED(hr)) return hr;
    (void)init->Initialize(owner);

    // Not waited for: the pop-up lives on until the user dismisses it.
    CComRef<IInspectable> operation;
    return dialog->ShowAsync(&operation);
}

void ShowHelp(HWND owner)
{
    CString email;
    email.LoadString(IDS_SUPPORT_EMAIL);
    CString text;
    text.Format(L"To Close any Colored Window, you can Right Click on the Colored Window and then Click on Close.\n\n"
                L"You can also Click on a Colored Window and press Esc or Alt + F4 Key to Close the Colored Window.\n\n"
                L"To Close a Passthrough Colored Window, you can use Right Click on the Main Screen of this Software "
                L"and Click on appropriate Menu Item.\n\nIn case you have any question or concern, please write to "
                L"%s to get assistance.",
                static_cast<LPCWSTR>(email));
    // Where the runtime pop-up is unavailable the same text comes in an
    // ordinary information box, so the button never does nothing.
    if (FAILED(ShowHelpPopup(owner, text)))
        AppMessageBox(owner, text);
}
