#pragma once
// A document that embeds the three class-id schema types, as another component's
// document would (no document of the library has them as root):
//
//   <component>
//     <implementation class="Printer" version="2" loader="Boot"/>   xbclass_id, at most one
//     <provides class="IPrint" version="3"/>                        xbinterface_id, any number
//     <provider loader="Boot"/>                                     xbloader_id, at most one
//   </component>
#include <memory>
#include <string>
#include <vector>

#include <mox/xb/ClassSchema.h>
#include <mox/xb/DocumentElement.h>
#include <mox/xb/XBObject.h>

namespace classdoc {

struct xbcomponent : MOX::XB::XBObject {
    MOX_XB_DOCUMENT_TYPE()
    std::unique_ptr<MOX::XB::xbclass_id> implementation;
    std::vector<MOX::XB::xbinterface_id> provides;
    std::unique_ptr<MOX::XB::xbloader_id> provider;
};

struct component_CC : MOX::XB::DocumentElement {
    explicit component_CC(xbcomponent& top) : DocumentElement("component", top) {}
};

// Writes `doc` through the codec manager (raises -1055 on failure).
std::string encode(xbcomponent& doc);
// Decodes `text` into `doc` through the codec manager (raises -1056 on failure).
void decode(const std::string& text, xbcomponent& doc);

} // namespace classdoc
