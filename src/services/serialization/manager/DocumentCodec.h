// SPDX-License-Identifier: MIT
#pragma once
// The one path every marshalling unit writes and reads its documents by: the unit's
// codec manager, a buffer, the document element over the top object, and the errors
// -1055 (writing), -1056 (reading) and -1057 (no document element) raised in one place.
#include <atomic>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include <mox/rt/Raise.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBinderManager.h>

#include "services/serialization/manager/XBTypeBuilder.h"

namespace MOX {
namespace XB {

/// The document whose root element class `Element` binds over `top` (built from `root...`
/// then `top`), written with the manager of `unit`; `reserve` is the expected length.
template <class Element, class Top, class... Root>
std::string encodeDocument(std::atomic<XBinderManager*>& unit, Top& top, std::size_t reserve, Root&&... root)
{
    XBinderManager& manager = XBinderManager::instance(unit);
    EncodeBuffer buffer;
    buffer.reserve(reserve);
    Element element(std::forward<Root>(root)..., top);
    return manager.encode(element, buffer);
}

/// Fills `top` from `input` (a text or a std::istream) as the document of root element
/// class `Element`, with the manager of `unit`. `site` names the unmarshal function
/// for the -1057 error.
template <class Element, class Input, class Top, class... Root>
void decodeDocument(std::atomic<XBinderManager*>& unit, Input& input, Top& top,
                    const EXCEPTIONS::SourceSite& site, Root&&... root)
{
    XBinderManager& manager = XBinderManager::instance(unit);
    DecodeBuffer buffer = manager.makeDecodeBuffer(input);
    const std::unique_ptr<Element> element(new (std::nothrow) Element(std::forward<Root>(root)..., top));
    XBinderManager::requireElement(element.get(), site);
    manager.decode(*element, buffer);
}

/// Reads a document whose root holds a streamed list (`List`, an XBStream of items) into
/// a `Result`, item by item: `add(result, item)` turns each decoded item into values.
/// What `add` throws is kept (the sink runs inside the parser) and raised once the whole
/// document has decoded, so a decoding error anywhere wins and a failure returns nothing.
template <class Element, class List, class Result, class Input>
Result decodeStreamed(std::atomic<XBinderManager*>& unit, Input& input, const EXCEPTIONS::SourceSite& site,
                      void (*add)(Result&, typename List::ItemType&))
{
    struct Collector {
        Result result;
        std::exception_ptr error;
        void (*add)(Result&, typename List::ItemType&);

        static void take(void* context, typename List::ItemType& item) noexcept
        {
            auto& self = *static_cast<Collector*>(context);
            if (self.error)
                return;
            try {
                self.add(self.result, item);
            } catch (...) {
                self.error = std::current_exception();
            }
        }
    };
    Collector collector{Result(), nullptr, add};
    List list(&Collector::take, &collector);
    decodeDocument<Element>(unit, input, list, site);
    list.finish();
    if (collector.error)
        std::rethrow_exception(collector.error);
    return std::move(collector.result);
}

} // namespace XB
} // namespace MOX
