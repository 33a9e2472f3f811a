#pragma once

struct Form;

// Runs after the toggle has flipped: locks when Form::lockPressed, releases otherwise.
void cmdLockKaizyo2Click(Form& f);
