#include "net/NetShell.h"

#include "platform/net/NetThread.h"
#include "platform/ui/App.h"
#include "platform/ui/UiService.h"

int NetShowMessage(const char* text, const char* caption, UINT type)
{
    return GetUiService().MessageBox(nullptr, text, caption ? CString(caption) : GetMessageBoxCaption(), type);
}

void NetPostMessage(const char* text, const char* caption, UINT type)
{
    PostToMainThread([message = CString(text), title = CString(caption), type] {
        NetShowMessage(message, title, type);
    });
}

int NetProfileInt(const char* section, const char* entry, int defaultValue)
{
    CWinApp* app = AfxGetApp();
    return app ? static_cast<int>(app->GetProfileInt(section, entry, defaultValue)) : defaultValue;
}

CString NetProfileString(const char* section, const char* entry, const char* defaultValue)
{
    CWinApp* app = AfxGetApp();
    return app ? app->GetProfileString(section, entry, defaultValue) : CString(defaultValue);
}
