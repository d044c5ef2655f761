-- A walker steps along a line, resting between steps, and says so when it arrives.
local stepLength = 2      -- private to this object (a local of the file)
restBetweenSteps = 0.1    -- private too: assigned by the file itself

function start(id)
  setKey(id, "name", "walker " .. id)
  setKey(id, "x", 0)
  setKey(id, "arrived", false)
  local goal = 4 * id - 2
  while getKey(id, "x") < goal do
    wait(pause(id, restBetweenSteps))
    setKey(id, "x", getKey(id, "x") + stepLength)
    -- A new global assigned here lands in `state`: shared by every walker, and saved.
    totalSteps = (totalSteps or 0) + 1
  end
  setKey(id, "arrived", true)
  say(getKey(id, "name") .. " arrived at " .. getKey(id, "x"))
end
