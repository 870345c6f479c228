// SPDX-License-Identifier: MIT
#ifndef MOX_MOX_C_H
#define MOX_MOX_C_H
/** @file
 * The flat C binding of the MOX core data library (libmox-c.so).
 *
 * Objects live in the library and are referred to by integer handles (mox_handle):
 * every function that makes an object registers it under a new handle, and the object
 * stays alive until mox_close_handle. Handle numbers are positive, run 1, 2, 3, ... in a
 * process and are never reused; 0 is never a handle.
 *
 * Errors: every function returns 0 on success or a negative MOX code (MOX_E_...). A
 * failure is also recorded as the calling thread's last error, which mox_error_last
 * reads back (as do mox_get_error and mox_last_error_name; reading does not clear it):
 * its `detail` says what was wrong (the argument, the value given and the rule it
 * breaks) and its `function` is the mox_ function that failed. A later failure on the
 * same thread replaces it; mox_error_clear and any mox_close_handle on the thread clear
 * it; a success elsewhere leaves it in place. Threads never see each other's errors. No
 * C++ exception ever leaves this library.
 *
 * Codes: a function fails with the codes its comment lists after "Fails:" and, besides
 * those, with MOX_E_NULL_POINTER when a pointer argument is NULL, with
 * MOX_E_INVALID_HANDLE (not open) or MOX_E_CLASS_CAST (another kind of object) for a
 * handle argument, and with MOX_E_UNKNOWN when memory runs out.
 *
 * Outputs: on failure an output handle is set to 0 and an output string to NULL (when
 * the output pointer itself is not NULL). Memory: every string, text block and handle
 * array handed out is zero-terminated where it is text, belongs to the caller and is
 * released with mox_free, never with anything else.
 *
 * All functions may be called from any thread.
 */

#include <stddef.h>

#include <mox/version.h>

/// @def MOX_C_API
/// Marks the functions libmox-c exports.
#if defined(_WIN32)
#  if defined(MOX_C_BUILDING)
#    define MOX_C_API __declspec(dllexport)
#  else
#    define MOX_C_API __declspec(dllimport)
#  endif
#else
#  define MOX_C_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/** A handle to an object of the library: a positive number, or 0 for none. */
typedef int mox_handle;

/** Results and error codes (0 or negative). */
enum mox_result {
    MOX_OK = 0,                     /**< success */
    MOX_E_SYSTEM = -1,              /**< the runtime's own system failure (files, libraries) */
    MOX_E_NULL_POINTER = -1004,     /**< a NULL pointer where a value was required */
    MOX_E_CLASS_CAST = -1005,       /**< the handle's object is not of the kind the function needs */
    MOX_E_INVALID_ARGUMENTS = -1006,/**< the arguments were invalid */
    MOX_E_NOT_AN_INTEGER = -1009,   /**< a text is not a whole number */
    MOX_E_INVALID_HANDLE = -1039,   /**< the handle is not open */
    MOX_E_UNKNOWN = -1040,          /**< any other failure (also: out of memory) */
    MOX_E_MARSHAL = -1055,          /**< an object could not be written as text */
    MOX_E_UNMARSHAL = -1056,        /**< a text could not be read as an object */
    MOX_E_CREATE_UNMARSHALLER = -1057, /**< a document reader could not be created */
    MOX_E_INVALID_INPUT = -1075     /**< the input is not valid */
};

/* ---- Version and errors ---- */

/** The library's version text, MOX_VERSION_STRING ("2.1.0.0"); static, never freed. */
MOX_C_API const char* mox_version(void);

/** One recorded error, read through mox_error_last. */
typedef struct mox_error {
    int code;             /**< the MOX code (negative), 0 when there is no error */
    const char* name;     /**< the exception's class name, "No Error" when there is none */
    const char* message;  /**< the code's message ("" when none) */
    const char* detail;   /**< what the failing operation added ("" when none) */
    const char* function; /**< the function that raised it ("" when unknown) */
} mox_error;

/** The calling thread's last error as a record owned by the library: never NULL, valid
 *  until the same thread's next call into this binding. Records nothing. */
MOX_C_API const mox_error* mox_error_last(void);
/** Forgets the calling thread's last error. */
MOX_C_API void mox_error_clear(void);

/* ---- Product and application identifiers ---- */

/** A new product id (name and version non-empty, component may be "").
 *  Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_product_id_create(const char* name, const char* component, const char* version, mox_handle* out);
/** A product id read from its "product" element. Fails: MOX_E_INVALID_ARGUMENTS, MOX_E_UNMARSHAL. */
MOX_C_API int mox_product_id_parse(const char* xml, mox_handle* out);
/** The "product" element of a product id. Fails: MOX_E_MARSHAL. */
MOX_C_API int mox_product_id_marshal(mox_handle product, char** xml);

/** The registered application id of a product and a name: equivalent ids give handles
 *  to one shared object.
 *  */
MOX_C_API int mox_application_id_create(mox_handle product, const char* name, mox_handle* out);
/** The registered application id read from its "app-id" element.
 *  Fails: MOX_E_INVALID_ARGUMENTS, MOX_E_UNMARSHAL. */
MOX_C_API int mox_application_id_parse(const char* xml, mox_handle* out);
/** The "app-id" element of an application id. Fails: MOX_E_MARSHAL. */
MOX_C_API int mox_application_id_marshal(mox_handle application, char** xml);

/* ---- Identities ---- */

/** A user identity with the given format ("QEL", "EMAIL", "UPN", ...) and text in that
 *  format, stored as given, for example ("QEL", "NT:CORP/alice") or ("EMAIL",
 *  "alice@corp.example"). Its one-line text (mox_to_string) is `value`. */
MOX_C_API int mox_identity_create_user(const char* format, const char* value, mox_handle* out);
/** A group identity, as mox_identity_create_user. */
MOX_C_API int mox_identity_create_group(const char* format, const char* value, mox_handle* out);
/** An identity read from its item element (as mox_identity_marshal writes it) or from a
 *  QEL text "authority/account", for example "NT:CORP/Group:admins".
 *  Fails: MOX_E_INVALID_ARGUMENTS, MOX_E_UNMARSHAL. */
MOX_C_API int mox_identity_parse(const char* text, mox_handle* out);
/** The item element of an identity ("UserIdentifier", "GroupIdentifier" or "identity").
 *  Fails: MOX_E_MARSHAL. */
MOX_C_API int mox_identity_marshal(mox_handle identity, char** xml);

/** The identity's format name ("QEL", "EMAIL", ...). */
MOX_C_API int mox_identity_format(mox_handle identity, char** out);
/** The identity's text in its format. */
MOX_C_API int mox_identity_value(mox_handle identity, char** out);
/** The account type ("User", "Group", ...). */
MOX_C_API int mox_identity_type(mox_handle identity, char** out);
/** The name part (after the type prefix in QEL, before the "@" in EMAIL and UPN). */
MOX_C_API int mox_identity_name(mox_handle identity, char** out);
/** The authority's name; MOX_E_INVALID_ARGUMENTS when the text holds no valid one.
 *  Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_identity_authority_name(mox_handle identity, char** out);
/** The authority's format ("UNKNOWN" outside QEL); fails as mox_identity_authority_name.
 *  Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_identity_authority_format(mox_handle identity, char** out);
/** The QEL identity of an authority and an account (handles of those kinds). */
MOX_C_API int mox_identity_create(mox_handle authority, mox_handle account, mox_handle* out);
/** The same principal as a new identity in `format` ("EMAIL", "UPN", or "QEL" from QEL);
 *  other targets give MOX_E_INVALID_INPUT, an identity that names no authority
 *  MOX_E_INVALID_ARGUMENTS.
 *  Fails: MOX_E_INVALID_INPUT, MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_identity_convert(mox_handle identity, const char* format, mox_handle* out);
/** 1 in `*out` when the identities are equivalent under the set order (one principal,
 *  possibly in different formats), else 0. */
MOX_C_API int mox_identity_equal(mox_handle first, mox_handle second, int* out);

/* ---- Identity sets (handle class "MOX::IdentitySet") ---- */

/** A new empty identity set. */
MOX_C_API int mox_identities_create(mox_handle* out);
/** The identity set an identities document holds (MOX_E_UNMARSHAL when it does not decode).
 *  Fails: MOX_E_UNMARSHAL. */
MOX_C_API int mox_identities_parse(const char* document, mox_handle* out);
/** Adds an identity; an equivalent one already held is kept instead. */
MOX_C_API int mox_identities_add(mox_handle set, mox_handle identity);
/** The number of identities held. */
MOX_C_API int mox_identities_count(mox_handle set, size_t* out);
/** A new handle to the identity at `index` in set order; past the end MOX_E_INVALID_ARGUMENTS.
 *  Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_identities_get(mox_handle set, size_t index, mox_handle* out);
/** 1 in `*out` when the set holds an identity equivalent to `identity`, else 0. */
MOX_C_API int mox_identities_contains(mox_handle set, mox_handle identity, int* out);
/** The identities document of a set, items in set order. Fails: MOX_E_MARSHAL. */
MOX_C_API int mox_identities_marshal(mox_handle set, char** document);
/** New handles to every identity of the set, in set order, at once: `*handles` receives
 *  an array of `*count` handles (NULL and 0 for an empty set), released with mox_free
 *  after closing the handles. */
MOX_C_API int mox_identities_to_array(mox_handle set, mox_handle** handles, size_t* count);

/* ---- Accounts (class "MOX::AUTHN::IAccountId") and authorities ("MOX::AUTHN::IAuthorityId") ---- */

/** A new account of a non-empty type ("User", "Group", ...) and name.
 *  Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_account_create(const char* type, const char* name, mox_handle* out);
/** An account from its text: "Type:name" or a bare user name. Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_account_parse(const char* text, mox_handle* out);
/** The account's name. */
MOX_C_API int mox_account_name(mox_handle account, char** out);
/** The account's type. */
MOX_C_API int mox_account_type(mox_handle account, char** out);
/** A new authority (a leading "\\" of the name is dropped). Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_authority_create(const char* format, const char* name, mox_handle* out);
/** An authority from its text "format:name". Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_authority_parse(const char* text, mox_handle* out);
/** The authority's format. */
MOX_C_API int mox_authority_format(mox_handle authority, char** out);
/** The authority's name. */
MOX_C_API int mox_authority_name(mox_handle authority, char** out);

/* ---- Variants (class "MOX::ATTR::IVariant") ---- */

/** A "String" variant holding `value` with `tag`. */
MOX_C_API int mox_variant_create_string(const char* value, const char* tag, mox_handle* out);
/** An "Int64" variant. */
MOX_C_API int mox_variant_create_int64(long long value, const char* tag, mox_handle* out);
/** A "Double" variant. */
MOX_C_API int mox_variant_create_double(double value, const char* tag, mox_handle* out);
/** A variant of any kind name ("Integer", "Long", "Float", ...) holding `value`
 *  verbatim; the kind is not checked. */
MOX_C_API int mox_variant_create(const char* type, const char* value, const char* tag, mox_handle* out);
/** The kind name. */
MOX_C_API int mox_variant_type(mox_handle variant, char** out);
/** The value text. */
MOX_C_API int mox_variant_value(mox_handle variant, char** out);
/** The tag. */
MOX_C_API int mox_variant_tag(mox_handle variant, char** out);
/** The value of an "Integer", "Long" or "Int64" variant; other kinds MOX_E_NOT_AN_INTEGER.
 *  Fails: MOX_E_NOT_AN_INTEGER. */
MOX_C_API int mox_variant_as_int64(mox_handle variant, long long* out);
/** The value of a "Float" or "Double" variant; other kinds MOX_E_NOT_AN_INTEGER.
 *  Fails: MOX_E_NOT_AN_INTEGER. */
MOX_C_API int mox_variant_as_double(mox_handle variant, double* out);

/* ---- Qualified names (class "MOX::ATTR::IQualifiedName") ---- */

/** A new qualified name; an empty format means "String", an empty scope none.
 *  Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_qualified_name_create(const char* name, const char* format, const char* scope, mox_handle* out);
/** A qualified name from its "attribute-id" element (also its mox_to_string).
 *  Fails: MOX_E_INVALID_ARGUMENTS, MOX_E_UNMARSHAL. */
MOX_C_API int mox_qualified_name_parse(const char* text, mox_handle* out);
/** The name. */
MOX_C_API int mox_qualified_name_name(mox_handle qname, char** out);
/** The format of the values. */
MOX_C_API int mox_qualified_name_format(mox_handle qname, char** out);
/** The scope ("" for none). */
MOX_C_API int mox_qualified_name_scope(mox_handle qname, char** out);
/** 1 in `*out` when the name, format and scope match those of `pattern` ('*', '?'). */
MOX_C_API int mox_qualified_name_matches(mox_handle qname, mox_handle pattern, int* out);

/* ---- Attributes (class "MOX::ATTR::IAttribute") ---- */

/** A new attribute without values; format "" means "String", scope "" none.
 *  Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_attribute_create(const char* name, const char* format, const char* scope, mox_handle* out);
/** The first attribute of "attribute" elements. Fails: MOX_E_INVALID_ARGUMENTS, MOX_E_UNMARSHAL. */
MOX_C_API int mox_attribute_parse(const char* xml, mox_handle* out);
/** The "attribute" element of one attribute. Fails: MOX_E_MARSHAL. */
MOX_C_API int mox_attribute_marshal(mox_handle attribute, char** xml);
/** Appends a value text. An attribute must not be changed while another thread uses it. */
MOX_C_API int mox_attribute_add_value(mox_handle attribute, const char* value);
/** The attribute's name. */
MOX_C_API int mox_attribute_name(mox_handle attribute, char** out);
/** The attribute's format. */
MOX_C_API int mox_attribute_format(mox_handle attribute, char** out);
/** The attribute's scope ("" for none). */
MOX_C_API int mox_attribute_scope(mox_handle attribute, char** out);
/** A new handle to the attribute's qualified name (shared, not copied). */
MOX_C_API int mox_attribute_qualified_name(mox_handle attribute, mox_handle* out);
/** The number of values. */
MOX_C_API int mox_attribute_value_count(mox_handle attribute, size_t* out);
/** The value at `index`; past the end MOX_E_INVALID_ARGUMENTS. Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_attribute_value(mox_handle attribute, size_t index, char** out);
/** Every value at once, as a text block: `*texts` receives the `*count` values, each
 *  zero-terminated, one after another (NULL and 0 when there are none), `*bytes` (when
 *  `bytes` is not NULL) the block's size; release the block with mox_free. */
MOX_C_API int mox_attribute_values(mox_handle attribute, char** texts, size_t* count, size_t* bytes);

/* ---- Attribute lists ---- */

/** The attribute list an attributes document holds (its handle class is
 *  "MOX::Attributes::AttributeList"). A document that does not decode gives
 *  MOX_E_UNMARSHAL; an attribute with an empty name MOX_E_INVALID_ARGUMENTS.
 *  Fails: MOX_E_INVALID_ARGUMENTS, MOX_E_UNMARSHAL. */
MOX_C_API int mox_attributes_parse(const char* document, mox_handle* out);
/** The attributes document of a list (also its mox_to_string). Fails: MOX_E_MARSHAL. */
MOX_C_API int mox_attributes_marshal(mox_handle list, char** document);
/** The number of attributes in a list. */
MOX_C_API int mox_attributes_count(mox_handle list, size_t* count);

/** A new empty attribute list. */
MOX_C_API int mox_attributes_create(mox_handle* out);
/** Appends an attribute (shared: later changes to it show in the list). A list must not
 *  be changed while another thread uses it. */
MOX_C_API int mox_attributes_add(mox_handle list, mox_handle attribute);
/** A new handle to the attribute at `index`; past the end MOX_E_INVALID_ARGUMENTS.
 *  Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_attributes_get(mox_handle list, size_t index, mox_handle* out);
/** A new handle to the first attribute named `name`, or 0 (and no error) when there is none. */
MOX_C_API int mox_attributes_find(mox_handle list, const char* name, mox_handle* out);
/** New handles to every attribute of the list, in order, at once: `*handles` receives an
 *  array of `*count` handles (NULL and 0 for an empty list), released with mox_free after
 *  closing the handles. */
MOX_C_API int mox_attributes_to_array(mox_handle list, mox_handle** handles, size_t* count);
/** Every text of the list at once, as a text block (see mox_attribute_values): for each
 *  attribute in order its name, format, scope, the number of its values in decimal, then
 *  the values. `*count` is the number of texts. */
MOX_C_API int mox_attributes_texts(mox_handle list, char** texts, size_t* count, size_t* bytes);
/** The texts of the attribute list an attributes document holds, laid out as
 *  mox_attributes_texts gives them, without making a handle: one call reads a whole
 *  document.
 *  Fails: MOX_E_INVALID_ARGUMENTS, MOX_E_UNMARSHAL. */
MOX_C_API int mox_attributes_read(const char* document, char** texts, size_t* count, size_t* bytes);

/* ---- Properties documents (class "MOX::RT::IProperties") ---- */

/** A new empty name/value store. */
MOX_C_API int mox_properties_create(mox_handle* out);
/** The properties of a document whose root element is `root` ("" takes any root).
 *  Fails: MOX_E_UNMARSHAL. */
MOX_C_API int mox_properties_parse(const char* document, const char* root, mox_handle* out);
/** Sets `name` to `value`. Not to be changed while another thread uses it. */
MOX_C_API int mox_properties_set(mox_handle properties, const char* name, const char* value);
/** The value of `name`, NULL (and no error) when it is not set. */
MOX_C_API int mox_properties_get(mox_handle properties, const char* name, char** value);
/** The number of names set. */
MOX_C_API int mox_properties_count(mox_handle properties, size_t* out);
/** The name at `index`, in the order first set; past the end MOX_E_INVALID_ARGUMENTS.
 *  Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_properties_name(mox_handle properties, size_t index, char** out);
/** Every name and its value at once, as a text block (see mox_attribute_values): name,
 *  value, name, value, ... in the order first set; `*count` is twice the number of names. */
MOX_C_API int mox_properties_items(mox_handle properties, char** texts, size_t* count, size_t* bytes);
/** The properties document under the root element `root`, an XML name (at most one colon).
 *  Fails: MOX_E_INVALID_ARGUMENTS, MOX_E_MARSHAL. */
MOX_C_API int mox_properties_marshal(mox_handle properties, const char* root, char** document);

/* ---- Class ids ("MOX::CLASS::IClassId"), interface ids ("MOX::CLASS::IInterfaceId"),
 *      loader ids ("MOX::LoaderId") ---- */

/** A new class id (non-empty name, version >= 0). Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_class_id_create(const char* name, int version, mox_handle* out);
/** A class id from its "class-id" element or its text form ("Foo v=3").
 *  Fails: MOX_E_INVALID_ARGUMENTS, MOX_E_UNMARSHAL. */
MOX_C_API int mox_class_id_parse(const char* text, mox_handle* out);
/** The class name. */
MOX_C_API int mox_class_id_name(mox_handle id, char** out);
/** The class version. */
MOX_C_API int mox_class_id_version(mox_handle id, int* out);
/** The loader name ("" when none). */
MOX_C_API int mox_class_id_loader(mox_handle id, char** out);
/** The "class-id" element. Fails: MOX_E_MARSHAL. */
MOX_C_API int mox_class_id_marshal(mox_handle id, char** xml);
/** A new interface id (non-empty name, version >= 0). Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_interface_id_create(const char* name, int version, mox_handle* out);
/** An interface id from its "interface-id" element or its text form "Name::4".
 *  Fails: MOX_E_INVALID_ARGUMENTS, MOX_E_UNMARSHAL. */
MOX_C_API int mox_interface_id_parse(const char* text, mox_handle* out);
/** The interface name. */
MOX_C_API int mox_interface_id_name(mox_handle id, char** out);
/** The interface version. */
MOX_C_API int mox_interface_id_version(mox_handle id, int* out);
/** The "interface-id" element (also its mox_to_string). Fails: MOX_E_MARSHAL. */
MOX_C_API int mox_interface_id_marshal(mox_handle id, char** xml);
/** A new loader id of a name and the file that holds it (both may be ""). */
MOX_C_API int mox_loader_id_create(const char* name, const char* file, mox_handle* out);
/** A loader id from its "loader-id" element. Fails: MOX_E_UNMARSHAL. */
MOX_C_API int mox_loader_id_parse(const char* xml, mox_handle* out);
/** The loader's name. */
MOX_C_API int mox_loader_id_name(mox_handle id, char** out);
/** The loader's file. */
MOX_C_API int mox_loader_id_file(mox_handle id, char** out);
/** The "loader-id" element (also its mox_to_string). Fails: MOX_E_MARSHAL. */
MOX_C_API int mox_loader_id_marshal(mox_handle id, char** xml);

/* ---- Date-times (class "MOX::TIME::IDateTime") ---- */

/** Text resolutions of a date-time. */
enum mox_resolution {
    MOX_RESOLUTION_OWN = -1,         /**< the one it was read in (microseconds when created) */
    MOX_RESOLUTION_SECONDS = 0,      /**< 2026-12-04T05:38:45Z */
    MOX_RESOLUTION_MILLISECONDS = 1, /**< 2026-12-04T05:38:45.123Z */
    MOX_RESOLUTION_MICROSECONDS = 2  /**< 2026-12-04T05:38:45.123456Z */
};
/** A date-time at `micros` microseconds since 1970-01-01T00:00:00Z. */
MOX_C_API int mox_datetime_create(long long micros, mox_handle* out);
/** The wall clock now, to the millisecond. */
MOX_C_API int mox_datetime_now(mox_handle* out);
/** A date-time read from its UTC text (ending in Z; the fraction sets the resolution).
 *  A text of another form gives MOX_E_INVALID_INPUT, one with a field out of range (a
 *  month 13) MOX_E_INVALID_ARGUMENTS.
 *  Fails: MOX_E_INVALID_INPUT, MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_datetime_parse(const char* text, mox_handle* out);
/** Microseconds since the epoch. */
MOX_C_API int mox_datetime_micros(mox_handle datetime, long long* out);
/** The UTC text at a resolution of enum mox_resolution; others MOX_E_INVALID_ARGUMENTS.
 *  Fails: MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_datetime_format(mox_handle datetime, int resolution, char** text);

/* ---- Any handle ---- */

/** The order of two objects of one family (identities, accounts, authorities, variants,
 *  qualified names, attributes, class, interface and loader ids, date-times) in
 *  `*order`: negative, 0 or positive. Objects of different families, or of a family
 *  without an order, give MOX_E_CLASS_CAST. */
MOX_C_API int mox_compare(mox_handle first, mox_handle second, int* order);

/** The one-line text form of the object behind any handle. Fails: MOX_E_MARSHAL. */
MOX_C_API int mox_to_string(mox_handle handle, char** text);
/** The class name the handle was registered with, for example "MOX::APP::IProductId". */
MOX_C_API int mox_handle_class(mox_handle handle, char** classname);
/** Closes a handle and releases the library's reference to its object. Clears the
 *  calling thread's last error first; a handle that is not open then fails with
 *  MOX_E_INVALID_HANDLE. */
MOX_C_API int mox_close_handle(mox_handle handle);
/** The number of open handles in the process. */
MOX_C_API int mox_open_handle_count(unsigned int* count);

/* ---- Errors and memory ---- */

/** The code of the calling thread's last error (0 when there is none). When `message`
 *  is not NULL it receives the error's text ("" when there is none), to be released
 *  with mox_free; if that copy cannot be made it receives NULL. Records nothing. */
MOX_C_API int mox_get_error(char** message);
/** The class name of the calling thread's last error, or "No Error", in `*name` (release
 *  with mox_free). A NULL `name` gives MOX_E_NULL_POINTER; this function never records
 *  an error of its own, so that the one being read stays. */
MOX_C_API int mox_last_error_name(char** name);
/** Releases a string handed out by this library; NULL is ignored. */
MOX_C_API void mox_free(void* memory);

#ifdef __cplusplus
}
#endif

#endif
