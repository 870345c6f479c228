// SPDX-License-Identifier: MIT
#pragma once
// A small schema that uses every building block of the codec, for its tests, fuzz
// target and benchmark:
//
//   <doc>                                       tdoc: items of tchoice, boxes, one pick
//     <item id="a" size="3" flag="x"/>          tchoice alternative 1 (titem)
//     <note lang="en">text</note>               tchoice alternative 2 (tnote)
//     <box name="b">                            tbox
//       <value>v</value>                        texts
//       <note>n</note>                          at most one
//       <item id="i"/>                          owned by pointer
//     </box>
//     <pick><note>p</note></pick>               a choice with an element of its own
//   </doc>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <mox/xb/DocumentElement.h>
#include <mox/xb/XBChoice.h>
#include <mox/xb/XBObject.h>
#include "services/serialization/manager/XBTypeBuilder.h"

namespace xbtest {

struct titem : MOX::XB::XBObject {
    MOX_XB_DOCUMENT_TYPE()
    std::string id;                  // required
    std::optional<std::int32_t> size; // optional integer
    std::optional<std::string> flag;  // optional text
};

struct tnote : MOX::XB::XBObject {
    MOX_XB_DOCUMENT_TYPE()
    std::optional<std::string> lang; // optional
    std::optional<std::string> text; // simple content
};

struct tchoice : MOX::XB::XBChoice {
    MOX_XB_DOCUMENT_TYPE()
    titem* item() const { return chosen<titem>(1); }
    tnote* note() const { return chosen<tnote>(2); }
};

struct tbox : MOX::XB::XBObject {
    MOX_XB_DOCUMENT_TYPE()
    std::string name;
    std::vector<std::string> values;
    std::unique_ptr<tnote> note;
    std::vector<std::unique_ptr<titem>> items;
};

struct tdoc : MOX::XB::XBObject {
    MOX_XB_DOCUMENT_TYPE()
    std::vector<tchoice> entries;
    std::vector<tbox> boxes;
    std::unique_ptr<tchoice> pick;
};

struct doc_CC : MOX::XB::DocumentElement {
    explicit doc_CC(tdoc& top, std::string root = "doc") : DocumentElement(std::move(root), top) {}
};

} // namespace xbtest
