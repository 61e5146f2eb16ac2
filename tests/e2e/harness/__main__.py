"""`python3 -m harness template-create|template-destroy`, for the ctest fixture."""

import sys

from .fixture import create_template, destroy_template

commands = {"template-create": create_template, "template-destroy": destroy_template}
if len(sys.argv) != 2 or sys.argv[1] not in commands:
    sys.exit(f"usage: python3 -m harness {'|'.join(commands)}")
commands[sys.argv[1]]()
