-- Each sleeper notes when it fell asleep, pauses its thread, and notes when it woke.
function start(id)
  setKey(id, "name", "sleeper " .. id)
  setKey(id, "fellAsleep", now())
  setKey(id, "awake", false)
  wait(pause(id, 0.25 * id))
  setKey(id, "wokeUp", now())
  setKey(id, "awake", true)
  woken = (woken or 0) + 1
end
