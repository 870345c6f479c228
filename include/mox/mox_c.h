#ifndef MOX_MOX_C_H
#define MOX_MOX_C_H
/*
 * The flat C binding of the MOX core data library (libmox-c.so).
 *
 * Objects live in the library and are referred to by integer handles (mox_handle):
 * every function that makes an object registers it under a new handle, and the object
 * stays alive until mox_close_handle. Handle numbers are positive, run 1, 2, 3, ... in a
 * process and are never reused; 0 is never a handle.
 *
 * Errors: every function returns 0 on success or a negative MOX code (MOX_E_...). A
 * failure is also recorded as the calling thread's last error, which mox_get_error and
 * mox_last_error_name read back (reading does not clear it). A later failure on the same
 * thread replaces it; any mox_close_handle on the thread clears it first; a success
 * elsewhere leaves it in place. Threads never see each other's errors. No C++ exception
 * ever leaves this library.
 *
 * Outputs: on failure an output handle is set to 0 and an output string to NULL (when
 * the output pointer itself is not NULL). Strings handed out are zero-terminated,
 * belong to the caller and are released with mox_free.
 *
 * All functions may be called from any thread.
 */

#include <stddef.h>

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

/* ---- Product and application identifiers ---- */

/** A new product id (name and version non-empty, component may be ""). */
MOX_C_API int mox_product_id_create(const char* name, const char* component, const char* version, mox_handle* out);
/** A product id read from its "product" element. */
MOX_C_API int mox_product_id_parse(const char* xml, mox_handle* out);
/** The "product" element of a product id. */
MOX_C_API int mox_product_id_marshal(mox_handle product, char** xml);

/** The registered application id of a product and a name: equivalent ids give handles
 *  to one shared object. */
MOX_C_API int mox_application_id_create(mox_handle product, const char* name, mox_handle* out);
/** The registered application id read from its "app-id" element. */
MOX_C_API int mox_application_id_parse(const char* xml, mox_handle* out);
/** The "app-id" element of an application id. */
MOX_C_API int mox_application_id_marshal(mox_handle application, char** xml);

/* ---- Identities ---- */

/** A user identity with the given format ("QEL", "EMAIL", "UPN", ...) and text in that
 *  format, stored as given, for example ("QEL", "NT:CORP/alice") or ("EMAIL",
 *  "alice@corp.example"). Its one-line text (mox_to_string) is `value`. */
MOX_C_API int mox_identity_create_user(const char* format, const char* value, mox_handle* out);
/** A group identity, as mox_identity_create_user. */
MOX_C_API int mox_identity_create_group(const char* format, const char* value, mox_handle* out);
/** An identity read from its item element (as mox_identity_marshal writes it) or from a
 *  QEL text "authority/account", for example "NT:CORP/Group:admins". */
MOX_C_API int mox_identity_parse(const char* text, mox_handle* out);
/** The item element of an identity ("UserIdentifier", "GroupIdentifier" or "identity"). */
MOX_C_API int mox_identity_marshal(mox_handle identity, char** xml);

/* ---- Attribute lists ---- */

/** The attribute list an attributes document holds (its handle class is
 *  "MOX::Attributes::AttributeList"). A document that does not decode gives
 *  MOX_E_UNMARSHAL; an attribute with an empty name MOX_E_INVALID_ARGUMENTS. */
MOX_C_API int mox_attributes_parse(const char* document, mox_handle* out);
/** The attributes document of a list (also its mox_to_string). */
MOX_C_API int mox_attributes_marshal(mox_handle list, char** document);
/** The number of attributes in a list. */
MOX_C_API int mox_attributes_count(mox_handle list, size_t* count);

/* ---- Any handle ---- */

/** The one-line text form of the object behind any handle. */
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
