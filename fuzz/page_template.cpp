// An HTML page template as the page writer loads and fills it.

#include "FuzzSupport.h"
#include "database/HTMLPage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Setup();
    fuzz::WriteInput("page.htm", data, size);
    CHTMLPage page;
    if (!page.LoadTemplate("page.htm"))
        return 0;
    page.ReplaceTag("*name*", "M1A1 *name*");
    page.ReplaceTagInt("*speed*", -72);
    page.ReplaceTagFloat("*armour*", 0.5f);
    CHTMLPage::MakePageName(page.GetText().Left(40));
    page.ExtractBody();
    page.WritePage("out.htm");
    return 0;
}
