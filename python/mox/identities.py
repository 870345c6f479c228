# SPDX-License-Identifier: MIT
"""Identities, accounts, authorities and identity sets."""
from __future__ import annotations

import ctypes
from typing import Any, Iterable, Iterator

from . import _native
from ._handle import HandleObject, OrderedObject
from ._native import arg


class Account(OrderedObject):
    """Who a principal is: a name and a type ("User", "Group", ...)."""

    __slots__ = ()

    def _state(self) -> Any:
        return (Account.parse, (str(self),))

    def __init__(self, type: str, name: str) -> None:
        super().__init__(_native.make("mox_account_create", arg(type), arg(name)))

    @classmethod
    def parse(cls, text: str) -> "Account":
        """The account of "Type:name" or of a bare user name."""
        return cls._adopt(_native.make("mox_account_parse", arg(text)))

    @property
    def name(self) -> str:
        """The account name."""
        return _native.text("mox_account_name", self._handle)

    @property
    def type(self) -> str:
        """The account type."""
        return _native.text("mox_account_type", self._handle)

    def _key(self) -> Any:
        return (self.type, self.name)


class Authority(OrderedObject):
    """The naming domain that vouches for an account: a format and a name."""

    __slots__ = ()

    def _state(self) -> Any:
        return (Authority.parse, (str(self),))

    def __init__(self, format: str, name: str) -> None:
        super().__init__(_native.make("mox_authority_create", arg(format), arg(name)))

    @classmethod
    def parse(cls, text: str) -> "Authority":
        """The authority of "format:name"."""
        return cls._adopt(_native.make("mox_authority_parse", arg(text)))

    @property
    def format(self) -> str:
        """The authority format (for example NT)."""
        return _native.text("mox_authority_format", self._handle)

    @property
    def name(self) -> str:
        """The authority name."""
        return _native.text("mox_authority_name", self._handle)


class Identity(OrderedObject):
    """One principal written in a format (QEL, EMAIL, UPN, ...). Identities are equal when
    the library's set order finds them equivalent, also across formats."""

    __slots__ = ()

    def _state(self) -> Any:
        return (Identity.parse, (self.marshal(),))

    def __init__(self, authority: Authority, account: Account) -> None:
        """The QEL identity of an account at an authority."""
        if not isinstance(authority, Authority) or not isinstance(account, Account):
            raise TypeError("Identity(authority: Authority, account: Account)")
        super().__init__(_native.make("mox_identity_create", authority.handle, account.handle))

    @classmethod
    def user(cls, format: str, value: str) -> "Identity":
        """A user identity with a format name and its text in that format."""
        return cls._adopt(_native.make("mox_identity_create_user", arg(format), arg(value)))

    @classmethod
    def group(cls, format: str, value: str) -> "Identity":
        """A group identity with a format name and its text in that format."""
        return cls._adopt(_native.make("mox_identity_create_group", arg(format), arg(value)))

    @classmethod
    def parse(cls, text: str) -> "Identity":
        """An identity from its item element or a QEL text "authority/account"."""
        return cls._adopt(_native.make("mox_identity_parse", arg(text)))

    format = _native.text_property("mox_identity_format", "The format name.")
    value = _native.text_property("mox_identity_value", "The text in its format.")
    type = _native.text_property("mox_identity_type", "The account type.")
    name = _native.text_property("mox_identity_name", "The name part.")
    authority = _native.text_property("mox_identity_authority_name", "The authority's name (InvalidArgumentError when the text holds none).")
    authority_format = _native.text_property("mox_identity_authority_format", "The authority's format (UNKNOWN outside QEL).")

    def convert(self, format: str) -> "Identity":
        """The same principal as a new identity in `format` ("EMAIL", "UPN", "QEL")."""
        return Identity._adopt(_native.make("mox_identity_convert", self._handle, arg(format)))

    def marshal(self) -> str:
        """The identity's item element."""
        return _native.text("mox_identity_marshal", self._handle)

    def __eq__(self, other: Any) -> bool:
        if not isinstance(other, Identity):
            return NotImplemented
        return _native.value("mox_identity_equal", ctypes.c_int, self._handle, other._handle) == 1

    def __str__(self) -> str:
        return self.value

    def _key(self) -> Any:
        return (self.type, self.name)

    __hash__ = OrderedObject.__hash__


class IdentitySet(HandleObject):
    """A set of identities under the library's order: one principal is held once, in
    whichever format it was added first. Supports len, iteration (set order) and `in`."""

    __slots__ = ()

    def _state(self) -> Any:
        return (parse_identities, (self.marshal(),))

    def __init__(self, identities: Iterable[Identity] = ()) -> None:
        super().__init__(_native.make("mox_identities_create"))
        for identity in identities:
            self.add(identity)

    def add(self, identity: Identity) -> None:
        """Adds an identity unless an equivalent one is held."""
        if not isinstance(identity, Identity):
            raise TypeError(f"expected Identity, got {type(identity).__name__}")
        _native.call("mox_identities_add", self._handle, identity.handle)

    def __len__(self) -> int:
        return _native.value("mox_identities_count", ctypes.c_size_t, self._handle)

    def __iter__(self) -> Iterator[Identity]:
        # Every member's handle at once: iterating costs one call, not one per member.
        return iter([Identity._adopt(h) for h in _native.handles("mox_identities_to_array", self._handle)])

    def __contains__(self, identity: object) -> bool:
        if not isinstance(identity, Identity):
            return False
        return _native.value("mox_identities_contains", ctypes.c_int, self._handle, identity.handle) == 1

    def marshal(self) -> str:
        """The identities document."""
        return _native.text("mox_identities_marshal", self._handle)


def parse_identities(document: str) -> IdentitySet:
    """The identity set an identities document holds."""
    return IdentitySet._adopt(_native.make("mox_identities_parse", arg(document)))


def marshal_identities(identities: Iterable[Identity]) -> str:
    """The identities document of any iterable of identities (in set order)."""
    if isinstance(identities, IdentitySet):
        return identities.marshal()
    with IdentitySet(identities) as held:
        return held.marshal()
