# SPDX-License-Identifier: MIT
"""Date-times: microseconds since 1970-01-01T00:00:00Z with a text resolution."""
from __future__ import annotations

import ctypes
import datetime as _dt
from typing import Any

from . import _native
from ._handle import OrderedObject
from ._native import arg

_EPOCH = _dt.datetime(1970, 1, 1, tzinfo=_dt.timezone.utc)
_MICRO = _dt.timedelta(microseconds=1)


class DateTime(OrderedObject):
    """A point in time. str() is the library's UTC text (for example
    2026-12-04T05:38:45.123Z); equal times compare equal whatever their resolution."""

    __slots__ = ()

    def _state(self) -> Any:
        return (DateTime.parse, (self.format(),))

    OWN = -1           #: the resolution it was read in (microseconds when made)
    SECONDS = 0        #: 2026-12-04T05:38:45Z
    MILLISECONDS = 1   #: 2026-12-04T05:38:45.123Z
    MICROSECONDS = 2   #: 2026-12-04T05:38:45.123456Z

    def __init__(self, micros: int) -> None:
        if isinstance(micros, bool) or not isinstance(micros, int):
            raise TypeError(f"micros must be an int, got {type(micros).__name__}")
        if not -(2**63) <= micros < 2**63:
            raise OverflowError("micros does not fit in 64 bits")
        super().__init__(_native.make("mox_datetime_create", micros))

    @classmethod
    def now(cls) -> "DateTime":
        """The wall clock now, to the millisecond."""
        return cls._adopt(_native.make("mox_datetime_now"))

    @classmethod
    def parse(cls, text: str) -> "DateTime":
        """A date-time from its UTC text; the fraction's length sets the resolution."""
        return cls._adopt(_native.make("mox_datetime_parse", arg(text)))

    @classmethod
    def from_datetime(cls, moment: _dt.datetime) -> "DateTime":
        """The date-time of an aware datetime.datetime (a naive one is a ValueError)."""
        if not isinstance(moment, _dt.datetime):
            raise TypeError(f"expected datetime.datetime, got {type(moment).__name__}")
        if moment.tzinfo is None or moment.utcoffset() is None:
            raise ValueError("a naive datetime has no defined point in time")
        return cls((moment - _EPOCH) // _MICRO)

    @property
    def micros(self) -> int:
        """Microseconds since the epoch."""
        return _native.value("mox_datetime_micros", ctypes.c_longlong, self._handle)

    def to_datetime(self) -> _dt.datetime:
        """The time as an aware datetime.datetime in UTC."""
        return _EPOCH + _dt.timedelta(microseconds=self.micros)

    def format(self, resolution: int = OWN) -> str:
        """The UTC text at a resolution (OWN, SECONDS, MILLISECONDS, MICROSECONDS)."""
        if isinstance(resolution, bool) or not isinstance(resolution, int):
            raise TypeError("resolution must be an int")
        if not -1 <= resolution <= 2:
            raise ValueError(f"no resolution {resolution}")
        return _native.text("mox_datetime_format", self._handle, resolution)

    def _key(self) -> Any:
        return self.micros
