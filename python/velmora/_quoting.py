"""Outside input as a message quotes it, as the tools do: a line of a file or a value on the
command line may be megabytes long and hold a terminal's escape sequences, and the message goes
to that terminal."""

QUOTED_BYTES = 200


def _is_control(character: str) -> bool:
    code = ord(character)
    return code < 0x20 or 0x7F <= code <= 0x9F


def quoted(text: str) -> str:
    """The text between single quotes: at most QUOTED_BYTES bytes of its UTF-8 (never part of a
    character), followed by "..." when there is more; control characters (C0, DEL and C1) are
    written as \\xNN for each byte of their UTF-8."""
    parts: list[str] = []
    size = 0
    for character in text:
        encoded = character.encode("utf-8", "surrogateescape")
        if size + len(encoded) > QUOTED_BYTES:
            return "'" + "".join(parts) + "'..."
        size += len(encoded)
        parts.append("".join(f"\\x{byte:02X}" for byte in encoded) if _is_control(character) else character)
    return "'" + "".join(parts) + "'"


def shown(text: object) -> str:
    """A name or value as a message shows it: as it is when it is short and holds no control
    character, quoted otherwise."""
    text = str(text)
    if len(text.encode("utf-8", "surrogateescape")) <= QUOTED_BYTES and not any(map(_is_control, text)):
        return text
    return quoted(text)
