"""Signatures that inspect.signature can read for the compiled functions.

The compiled functions write their signature as the first line of their docstring
("run(self: velmora._core.Scene, steps: int, *, cool: bool = False, ...) -> object"), which
help() shows but inspect.signature cannot read. Each public one is wrapped in a Python function
that carries that signature as __signature__ and calls the compiled one.
"""

import ast
import functools
import inspect

KINDS = {"posonlyargs": inspect.Parameter.POSITIONAL_ONLY, "args": inspect.Parameter.POSITIONAL_OR_KEYWORD,
         "kwonlyargs": inspect.Parameter.KEYWORD_ONLY}


def _annotation(node):
    return inspect.Parameter.empty if node is None else ast.unparse(node)


def parsed(function):
    """The signature in the first line of a compiled function's docstring."""
    first = (function.__doc__ or "").split("\n", 1)[0]
    definition = ast.parse(f"def {first}: pass").body[0]
    arguments = definition.args
    ordered = [(node, KINDS[kind]) for kind in ("posonlyargs", "args", "kwonlyargs")
               for node in getattr(arguments, kind)]
    positional = arguments.posonlyargs + arguments.args
    defaults = dict(zip((node.arg for node in positional[len(positional) - len(arguments.defaults):]),
                        arguments.defaults))
    defaults.update((node.arg, default) for node, default in zip(arguments.kwonlyargs, arguments.kw_defaults)
                    if default is not None)
    # The instance is what the method belongs to, whatever type the binding gave it.
    parameters = [inspect.Parameter(node.arg, kind,
                                    annotation=inspect.Parameter.empty if node.arg == "self" else
                                    _annotation(node.annotation),
                                    default=ast.literal_eval(defaults[node.arg]) if node.arg in defaults
                                    else inspect.Parameter.empty)
                  for node, kind in ordered]
    return inspect.Signature(parameters, return_annotation=_annotation(definition.returns))


def signed(function):
    """A Python function that calls `function` and has its signature."""
    @functools.wraps(function)
    def call(*args, **kwargs):
        return function(*args, **kwargs)
    call.__signature__ = parsed(function)
    # The signature line is now the signature itself; help() shows the text below it.
    call.__doc__ = (function.__doc__ or "").split("\n", 1)[-1].lstrip("\n")
    return call


def sign_class(cls):
    """Wraps the public methods and static methods of a compiled class in place."""
    for name, member in list(vars(cls).items()):
        if name.startswith("_"):
            continue
        if isinstance(member, staticmethod):
            if not inspect.isfunction(member.__func__):
                setattr(cls, name, staticmethod(signed(member.__func__)))
        elif inspect.isroutine(member) and not inspect.isfunction(member):
            setattr(cls, name, signed(getattr(cls, name)))
