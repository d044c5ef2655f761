-- One lamp of the ring: sleeps until the previous lamp wakes it, shines for
-- half a second, then wakes the next lamp and sleeps again.
local picture = loadTexture("ball.png")
local FOREVER = 1e9

function start(id)
    local index = getKey(id, "index")
    if index == 1 and not getKey(id, "lit") then setKey(id, "lit", true) end
    while true do
        if getKey(id, "lit") then
            for step = 1, 30 do
                draw(id, index)
                wait(nextFrame(id))
            end
            setKey(id, "lit", false)
            local following = getKey(id, "next")
            setKey(following, "lit", true)
            pause(following, 0.001)  -- wakes it: its long pause ends now
        end
        -- Asleep: drawn dark, woken by the previous lamp's pause above.
        local sleeping = pause(id, FOREVER)
        while not getKey(id, "lit") do
            draw(id, index)
            wait(nextFrame(id))
        end
    end
end

function draw(id, index)
    local x = 280 + (index - 1) * 60
    if getKey(id, "lit") then
        drawSprite(picture, x, 500, {scale = 1.25, tint = {255, 240, 120}})
    else
        drawSprite(picture, x, 500, {scale = 1.25, tint = {70, 70, 90}})
    end
end
