// SPDX-License-Identifier: MIT
// Identities: the value class, its order, and the identity functions of MOX.
#include "data/authentication/IdentityImpl.h"
#include <mox/rt/Raise.h>

#include <mox/authn/IdentityFormats.h>
#include <mox/rt/Check.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Tracer.h>

#include <memory>
#include <typeinfo>
#include <utility>

MOX_SOURCE_FILE("data/authentication/IdentityImpl")

namespace MOX {

using EXCEPTIONS::ErrorCode;
using EXCEPTIONS::InvalidArgumentException;

namespace AUTHN {

namespace {

constexpr std::string_view kQel = MOX_FORMAT_QEL, kEmail = MOX_FORMAT_EMAIL, kUpn = MOX_FORMAT_UPN,
                           kUnknown = MOX_FORMAT_UNKNOWN, kUser = USER_ACCOUNT_TYPE, kGroup = GROUP_ACCOUNT_TYPE;
constexpr auto npos = std::string_view::npos;

// The well-known texts as the std::string getters hand them out.
const std::string& constant(std::string_view text)
{
    static const std::string qel(kQel), email(kEmail), upn(kUpn), unknown(kUnknown), user(kUser), group(kGroup);
    for (const std::string* known : {&qel, &email, &upn, &unknown, &user, &group}) {
        if (*known == text)
            return *known;
    }
    static const std::string none;
    return none;
}

// A difference counts as none when either side is the wildcard.
int compareWithWildcard(std::string_view a, std::string_view b, bool eitherIsWildcard)
{
    const int result = a.compare(b);
    return result != 0 && eitherIsWildcard ? 0 : result;
}

// The parts of an identity that is not ours, read through its interface.
struct ReadThroughInterface {
    const IIdentity& identity;
    std::string_view value() const { return identity.getValue(); }
    std::string_view name() const { return identity.getName(); }
    std::string_view type() const { return identity.getType(); }
    std::string_view format() const { return identity.getFormat(); }
    bool isQel() const { return identity.getFormat() == kQel; }
    std::string_view authorityName() const { return identity.getAuthorityName(); }
    std::string_view authorityFormat() const { return identity.getAuthorityFormat(); }
    bool unknownAuthority() const { return identity.getAuthorityFormat() == kUnknown; }
};

// How two identities' names compare: read through any parts, and for two of ours first
// by their stored prefixes.
template <class A, class B>
int compareNames(const A& a, const B& b)
{
    return a.name().compare(b.name());
}
int compareNames(const IdentityImpl& a, const IdentityImpl& b)
{
    if (a.namePrefix() != b.namePrefix())
        return a.namePrefix() < b.namePrefix() ? -1 : 1;
    return a.name().compare(b.name());
}

// The order, over anything that gives an identity's parts.
template <class A, class B>
int compareParts(const A& a, const B& b)
{
    if (a.value() == b.value()) {
        const int byType = a.type().compare(b.type());
        return byType != 0 ? byType : a.format().compare(b.format());
    }
    int result = compareNames(a, b);
    if (result != 0)
        return result;
    result = a.type().compare(b.type());
    if (result != 0)
        return result;
    result = compareWithWildcard(a.format(), b.format(), a.isQel() || b.isQel());
    if (result != 0)
        return result;
    const std::string_view aName = a.authorityName(); // a's error first, as the order reads
    result = aName.compare(b.authorityName());
    if (result != 0)
        return result;
    return compareWithWildcard(a.authorityFormat(), b.authorityFormat(), a.unknownAuthority() || b.unknownAuthority());
}

// Two of ours. Where equal texts would give equal names, names that differ already
// differ in their texts, so the first step is passed over and the names decide, mostly
// by their prefixes alone.
int compareParts(const IdentityImpl& a, const IdentityImpl& b)
{
    if (a.sameNameRule(b) && a.namePrefix() != b.namePrefix())
        return a.namePrefix() < b.namePrefix() ? -1 : 1;
    return compareParts<IdentityImpl, IdentityImpl>(a, b);
}

} // namespace

// Copies of the texts for the std::string getters, made on the first call of one.
struct IdentityImpl::Texts {
    std::string value, format, type, name, authorityName, authorityFormat;
};

// A set holds one block (counter, object, texts) per identity.
static_assert(sizeof(IdentityImpl) <= 64, "IdentityImpl grew: it is paid for once per identity held");

IIdentity::~IIdentity() = default;

RT::SmartPointer<IIdentity> IdentityImpl::create(std::string_view format, Pieces value, std::string_view type)
{
    std::size_t valueSize = 0;
    for (std::string_view piece : value)
        valueSize += piece.size();
    const Key key{format == kQel     ? Format::Qel
                  : format == kEmail ? Format::Email
                  : format == kUpn   ? Format::Upn
                                     : Format::Other,
                  type == kUser ? Type::User : type == kGroup ? Type::Group : Type::Other};
    const std::size_t tail =
        valueSize + (key.format == Format::Other ? format.size() : 0) + (key.type == Type::Other ? type.size() : 0);
    return RT::makeSharedWithTail<IdentityImpl>(tail, key, format, value, valueSize, type);
}

RT::SmartPointer<IIdentity> IdentityImpl::createFromParts(std::string_view authorityFormat, std::string_view authorityName,
                                                          std::string_view type, std::string_view account)
{
    // What createAuthorityId and createAccountId refuse, they raise themselves.
    const std::size_t backslash = authorityName.find('\\');
    if (authorityFormat.empty() || authorityName.empty() || (backslash != npos && backslash != 0))
        createAuthorityId(std::string(authorityFormat), std::string(authorityName));
    if (type.empty() || account.empty())
        createAccountId(std::string(type), std::string(account));
    if (backslash == 0)
        authorityName = authorityName.size() > 2 ? authorityName.substr(2) : std::string_view();
    // The text forms of the two: "format:name" and "Group:name" or the bare name.
    const std::string_view groupPrefix = type == kGroup ? "Group:" : "";
    return create(kQel, {authorityFormat, ":", authorityName, "/", groupPrefix, account}, type);
}

const IdentityImpl* IdentityImpl::from(const IIdentity& identity) noexcept
{
    return typeid(identity) == typeid(IdentityImpl) ? static_cast<const IdentityImpl*>(&identity) : nullptr;
}

IdentityImpl::IdentityImpl(Key key, std::string_view format, Pieces value, std::size_t valueSize, std::string_view type)
    : m_valueSize(static_cast<std::uint32_t>(valueSize)), m_format(key.format), m_type(key.type)
{
    // The tail that create sized: the value, then the format and type when they are not
    // well-known texts.
    char* out = reinterpret_cast<char*>(this + 1);
    std::uint32_t at = 0;
    const auto append = [&](std::string_view part) {
        part.copy(out + at, part.size());
        const Span span{at, static_cast<std::uint32_t>(part.size())};
        at += span.size;
        return span;
    };
    for (std::string_view piece : value)
        append(piece);
    if (m_format == Format::Other)
        m_otherFormatSize = append(format).size;
    if (m_type == Type::Other)
        m_otherTypeSize = append(type).size;
    deriveParts();
    deriveNamePrefix();
}

IdentityImpl::~IdentityImpl() { delete m_texts.load(std::memory_order_acquire); }

void IdentityImpl::deriveParts()
{
    const std::string_view text = value();
    const auto span = [](std::size_t at, std::size_t size) {
        return Span{static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(size)};
    };
    Span authorityFormat, authorityName;
    if (m_format == Format::Qel) {
        // Name: after the first ":" that follows the first "/", else after that "/"; the
        // whole text without a "/". Authority: format before the first ":", name up to
        // the "/" (none when the first ":" comes after the "/").
        // One pass over the short text finds the first "/", the first ":" and the first
        // ":" after that "/".
        std::size_t slash = npos, colon = npos, nameColon = npos;
        for (std::size_t i = 0; i < text.size() && nameColon == npos; ++i) {
            if (text[i] == '/' && slash == npos) {
                slash = i;
            } else if (text[i] == ':') {
                colon = colon == npos ? i : colon;
                nameColon = slash != npos ? i : npos;
            }
        }
        if (slash == npos) {
            m_name = span(0, text.size());
        } else {
            const std::size_t start = nameColon != npos ? nameColon + 1 : slash + 1;
            m_name = span(start, text.size() - start);
        }
        if (slash != npos && colon != npos) {
            authorityFormat = span(0, colon);
            if (colon < slash)
                authorityName = span(colon + 1, slash - colon - 1);
        }
        m_unknownAuthority = text.substr(0, authorityFormat.size) == kUnknown;
    } else {
        m_unknownAuthority = true;
        if (m_format != Format::Other) {
            const std::size_t at = text.find('@');
            if (at != npos) {
                m_name = span(0, at);
                authorityName = span(at + 1, text.size() - at - 1);
            }
        }
    }
    // Kept as read even when refused below: raiseAuthorityError hands them to
    // createAuthorityId. createAuthorityId's checks: neither part empty, and a backslash
    // only in front, where the first two characters go.
    m_authorityFormatSize = authorityFormat.size;
    m_authorityName = authorityName;
    const bool formatGiven = m_format != Format::Qel || authorityFormat.size != 0;
    if (!formatGiven || authorityName.size == 0)
        return;
    const std::size_t backslash = view(authorityName).find('\\');
    if (backslash != npos && backslash != 0)
        return;
    if (backslash == 0)
        m_authorityName = authorityName.size > 2 ? span(authorityName.at + 2, authorityName.size - 2) : span(0, 0);
    m_hasAuthority = true;
}

void IdentityImpl::deriveNamePrefix() noexcept
{
    const std::string_view name = this->name();
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i)
        prefix = prefix << 8 | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
    m_namePrefix = prefix;
}

void IdentityImpl::raiseAuthorityError() const
{
    // createAuthorityId raises its own error, from its own site, for the parts as read.
    createAuthorityId(std::string(authorityFormatAsRead()), std::string(view(m_authorityName)));
    EXCEPTIONS::raise(ErrorCode::InvalidArguments, MOX_SITE("MOX::createAuthorityId")); // not reached
}

std::string_view IdentityImpl::format() const noexcept
{
    switch (m_format) {
    case Format::Qel: return kQel;
    case Format::Email: return kEmail;
    case Format::Upn: return kUpn;
    case Format::Other: break;
    }
    return otherFormat();
}

std::string_view IdentityImpl::type() const noexcept
{
    return m_type == Type::User ? kUser : m_type == Type::Group ? kGroup : otherType();
}

std::string_view IdentityImpl::authorityName() const
{
    if (!m_hasAuthority)
        raiseAuthorityError();
    return view(m_authorityName);
}

std::string_view IdentityImpl::authorityFormat() const
{
    if (!m_hasAuthority)
        raiseAuthorityError();
    return authorityFormatAsRead();
}

std::string_view IdentityImpl::authorityFormatAsRead() const noexcept
{
    return isQel() ? std::string_view(text(), m_authorityFormatSize) : kUnknown;
}

const IdentityImpl::Texts& IdentityImpl::texts() const
{
    Texts* texts = m_texts.load(std::memory_order_acquire);
    if (texts != nullptr)
        return *texts;
    auto made = std::make_unique<Texts>(Texts{std::string(value()), std::string(format()), std::string(type()),
                                              std::string(name()), std::string(view(m_authorityName)),
                                              std::string(authorityFormatAsRead())});
    // Another thread may have been first: its copies are the ones everybody keeps.
    if (m_texts.compare_exchange_strong(texts, made.get(), std::memory_order_acq_rel, std::memory_order_acquire))
        return *made.release();
    return *texts;
}

const std::string& IdentityImpl::getName() const { return texts().name; }

const std::string& IdentityImpl::getType() const { return m_type != Type::Other ? constant(type()) : texts().type; }

const std::string& IdentityImpl::getAuthorityName() const
{
    if (!m_hasAuthority)
        raiseAuthorityError();
    return texts().authorityName;
}

const std::string& IdentityImpl::getAuthorityFormat() const
{
    if (!m_hasAuthority)
        raiseAuthorityError();
    return isQel() ? texts().authorityFormat : constant(kUnknown);
}

const std::string& IdentityImpl::getFormat() const { return m_format != Format::Other ? constant(format()) : texts().format; }

const std::string& IdentityImpl::getValue() const { return texts().value; }

bool IdentityImpl::lessThan(const IIdentity& other) const
{
    const IdentityImpl* theirs = from(other);
    return (theirs != nullptr ? compareParts(*this, *theirs) : compareParts(*this, ReadThroughInterface{other})) < 0;
}

int compareIdentities(const IIdentity& a, const IIdentity& b)
{
    const IdentityImpl* ours = IdentityImpl::from(a);
    const IdentityImpl* theirs = IdentityImpl::from(b);
    if (ours != nullptr && theirs != nullptr)
        return compareParts(*ours, *theirs);
    if (ours != nullptr)
        return compareParts(*ours, ReadThroughInterface{b});
    if (theirs != nullptr)
        return compareParts(ReadThroughInterface{a}, *theirs);
    return compareParts(ReadThroughInterface{a}, ReadThroughInterface{b});
}

} // namespace AUTHN

using AUTHN::IdentitySet;
using AUTHN::IdentityImpl;
using AUTHN::IIdentity;

namespace {
RT::SmartPointer<IIdentity> makeIdentity(std::string_view format, std::string_view value, std::string_view type)
{
    return IdentityImpl::create(format, {value}, type);
}
} // namespace

RT::SmartPointer<IIdentity> createIdentity(const RT::SmartPointer<AUTHN::IAuthorityId>& authority,
                                           const RT::SmartPointer<AUTHN::IAccountId>& account)
{
    const AUTHN::IAuthorityId& authorityRef = RT::checkDeref(authority);
    const AUTHN::IAccountId& accountRef = RT::checkDeref(account);
    return makeIdentity(MOX_FORMAT_QEL, authorityRef.toString() + "/" + accountRef.toString(), accountRef.getType());
}

RT::SmartPointer<IIdentity> createUserIdentity(const RT::SmartPointer<AUTHN::IAuthorityId>& authority,
                                               const std::string& name)
{
    return createIdentity(authority, AUTHN::createUserAccount(name));
}

RT::SmartPointer<IIdentity> createGroupIdentity(const RT::SmartPointer<AUTHN::IAuthorityId>& authority,
                                                const std::string& name)
{
    return createIdentity(authority, AUTHN::createGroupAccount(name));
}

RT::SmartPointer<IIdentity> createUserIdentity(const std::string& format, const std::string& value)
{
    return makeIdentity(format, value, AUTHN::USER_ACCOUNT_TYPE);
}

RT::SmartPointer<IIdentity> createGroupIdentity(const std::string& format, const std::string& value)
{
    return makeIdentity(format, value, AUTHN::GROUP_ACCOUNT_TYPE);
}

bool isUserIdentity(const RT::SmartPointer<IIdentity>& identity)
{
    return !identity.isNull() && AUTHN::isUserAccount(identity->getType());
}

bool isGroupIdentity(const RT::SmartPointer<IIdentity>& identity)
{
    return !identity.isNull() && AUTHN::isGroupAccount(identity->getType());
}

bool containsIdentity(const RT::SmartPointer<IIdentity>& identity, const IdentitySet& set)
{
    return set.find(identity) != set.end();
}

bool containsIdentity(const IdentitySet& first, const IdentitySet& second)
{
    for (const RT::SmartPointer<IIdentity>& identity : first) {
        if (containsIdentity(identity, second))
            return true;
    }
    return false;
}

RT::SmartPointer<IIdentity> toIdentityInFormat(const RT::SmartPointer<IIdentity>& identity, const std::string& format)
{
    RT::Tracer trace("MOX::toIdentityInFormat", true);
    const IIdentity& source = RT::checkDeref(identity);
    if (format == MOX_FORMAT_QEL && source.getFormat() != MOX_FORMAT_QEL) {
        trace.printf("Identity in format %s is not convertable to MOX_FORMAT_QEL", source.getFormat().c_str());
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidInput, MOX_SITE("MOX::toIdentityInFormat"));
    }
    // Worked out for every target, QEL included: a source without a valid authority
    // is never converted.
    std::string email = source.getName() + "@" + source.getAuthorityName();
    if (format == MOX_FORMAT_QEL)
        return makeIdentity(MOX_FORMAT_QEL, source.getValue(), source.getType());
    if (format == MOX_FORMAT_EMAIL || format == MOX_FORMAT_UPN)
        return makeIdentity(format, std::move(email), source.getType());
    trace.printf("Unsupported identity format %s", format.c_str());
    EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidInput, MOX_SITE("MOX::toIdentityInFormat"));
}

} // namespace MOX
